#pragma once
// The service client's texts (ids_service.h names them) and the fields the service's error replies
// name: IDS_SERVICE_FIELD_NAMES holds their names, '|'-separated, in the order of Field.
#include "ids_service.h"

namespace pagelark::service_text {


enum class Field : int { SalesChannelId, Mode, LanguageChannelId, Gmt, Recipient, Text, Pin };

}  // namespace pagelark::service_text
