# The spelling lexicons of the language table and their license list, made from Debian's Hunspell
# dictionary packages into <build>/Dictionaries (staged beside the program, read by the tests).
set(PAGELARK_LEXICON_DIR ${CMAKE_BINARY_DIR}/Dictionaries)
set(PAGELARK_LEXICONS)
foreach(lexicon SpellGER SpellUS SpellESP SpellFRA SpellITA SpellNL)
    list(APPEND PAGELARK_LEXICONS ${PAGELARK_LEXICON_DIR}/${lexicon}.lex)
endforeach()
add_custom_command(
    OUTPUT ${PAGELARK_LEXICONS} ${PAGELARK_LEXICON_DIR}/LICENSES.txt
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/make_lexicons.py --out ${PAGELARK_LEXICON_DIR}
            --engine-source ${HUNSPELL_SOURCE_DIR}
    DEPENDS ${CMAKE_SOURCE_DIR}/tools/make_lexicons.py
    COMMENT "Making the spelling lexicons from Debian's Hunspell dictionaries")
add_custom_target(pagelark_lexicons ALL DEPENDS ${PAGELARK_LEXICONS} ${PAGELARK_LEXICON_DIR}/LICENSES.txt)
