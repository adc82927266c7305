#include "addin/button_texts.h"

namespace quillbridge {

ButtonTexts ButtonTextsFor(unsigned primaryLanguage) noexcept {
    switch (primaryLanguage) {
    case 0x07: return {L"Neue SMS", L"Neue SMS Nachricht"};        // German
    case 0x0A: return {L"Nuevo SMS", L"Nuevo SMS mensaje"};        // Spanish
    case 0x0C: return {L"Nouveau SMS", L"Nouveau message SMS"};    // French
    case 0x10: return {L"Nuovo SMS", L"Nuovo SMS messaggio"};      // Italian
    case 0x13: return {L"Nieuw SMS", L"Nieuw SMS bericht"};        // Dutch
    default: return {L"New SMS", L"New SMS message"};
    }
}

}  // namespace quillbridge
