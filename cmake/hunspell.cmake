# Hunspell, the spelling engine, compiled into both configurations from Debian's source package
# (tools/fetch_hunspell.sh unpacks it once into the build folder's third_party) and linked statically.
get_filename_component(PAGELARK_BUILD_ROOT ${CMAKE_BINARY_DIR} DIRECTORY)
set(PAGELARK_THIRD_PARTY ${PAGELARK_BUILD_ROOT}/third_party CACHE PATH "Unpacked outside sources, shared by the configurations")
set(HUNSPELL_SOURCE_DIR ${PAGELARK_THIRD_PARTY}/hunspell-1.7.1)
execute_process(COMMAND ${CMAKE_SOURCE_DIR}/tools/fetch_hunspell.sh ${PAGELARK_THIRD_PARTY}
                RESULT_VARIABLE fetch_result)
if(NOT fetch_result EQUAL 0)
    message(FATAL_ERROR "Hunspell's source could not be fetched (see above)")
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/fetch_hunspell.sh)

set(HUNSPELL_LIB_DIR ${HUNSPELL_SOURCE_DIR}/src/hunspell)
add_library(hunspell_static STATIC
    ${HUNSPELL_LIB_DIR}/affentry.cxx ${HUNSPELL_LIB_DIR}/affixmgr.cxx ${HUNSPELL_LIB_DIR}/csutil.cxx
    ${HUNSPELL_LIB_DIR}/filemgr.cxx ${HUNSPELL_LIB_DIR}/hashmgr.cxx ${HUNSPELL_LIB_DIR}/hunspell.cxx
    ${HUNSPELL_LIB_DIR}/hunzip.cxx ${HUNSPELL_LIB_DIR}/phonet.cxx ${HUNSPELL_LIB_DIR}/replist.cxx
    ${HUNSPELL_LIB_DIR}/suggestmgr.cxx)
target_compile_definitions(hunspell_static PUBLIC HUNSPELL_STATIC)
# Included as a system header: the outside code's warnings are not ours to fix.
target_include_directories(hunspell_static SYSTEM PUBLIC ${HUNSPELL_LIB_DIR})
if(MSVC)
    target_compile_options(hunspell_static PRIVATE /w)
else()
    target_compile_options(hunspell_static PRIVATE -w)
endif()
