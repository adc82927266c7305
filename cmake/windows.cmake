# MinGW-w64 cross build: Pagelark.exe, the Windows adapters' tests and the black-box tests, run under Wine.
set(PAGELARK_WIN_DEFINITIONS UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00 WINVER=0x0A00)
target_compile_definitions(pagelark_core PUBLIC ${PAGELARK_WIN_DEFINITIONS})
set(PAGELARK_WIN_LIBS comctl32 comdlg32 ole32 oleaut32 uuid wininet shell32 shlwapi advapi32 user32 gdi32
    version uxtheme crypt32 htmlhelp winspool msimg32 wintrust)

# Resources: the languages' texts, dialogs and menus (languages.rc and the id headers, generated in
# the top CMakeLists.txt) and the artwork.
# Artwork (icons, bitmaps) is drawn from SVG sources at build time.
file(GLOB ART_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/art/*)
add_custom_command(
    OUTPUT ${GEN_DIR}/art.stamp
    COMMAND ${CMAKE_SOURCE_DIR}/tools/gen_art.sh ${CMAKE_SOURCE_DIR}/resources/art ${GEN_DIR}/art
    COMMAND ${CMAKE_COMMAND} -E touch ${GEN_DIR}/art.stamp
    DEPENDS ${CMAKE_SOURCE_DIR}/tools/gen_art.sh ${ART_SOURCES}
    COMMENT "Drawing icons and bitmaps from their SVG sources")
add_custom_target(pagelark_resources DEPENDS ${GEN_DIR}/art.stamp)
add_dependencies(pagelark_resources pagelark_resource_ids)

math(EXPR PAGELARK_NEXT_PATCH "${PROJECT_VERSION_PATCH} + 1")
set(PAGELARK_NEXT_FILE_VERSION "${PROJECT_VERSION_MAJOR}, ${PROJECT_VERSION_MINOR}, ${PAGELARK_NEXT_PATCH}, 1")
configure_file(${CMAKE_SOURCE_DIR}/resources/version.h.in ${GEN_DIR}/version.h @ONLY)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001 -I${GEN_DIR} -I${CMAKE_SOURCE_DIR}/resources -I${CMAKE_SOURCE_DIR}/src")
set(PAGELARK_RC ${CMAKE_SOURCE_DIR}/resources/pagelark.rc)
set_source_files_properties(${PAGELARK_RC} PROPERTIES
    OBJECT_DEPENDS "${GEN_DIR}/languages.rc;${GEN_DIR}/art.stamp;${GEN_DIR}/version.h;${CMAKE_SOURCE_DIR}/resources/app.manifest")

# Windows adapters and screens; the entry point stays out so tests can link the rest.
set(PAGELARK_MAIN ${CMAKE_SOURCE_DIR}/src/app/main_win.cpp)
list(REMOVE_ITEM PAGELARK_WIN_SOURCES ${PAGELARK_MAIN} ${CMAKE_SOURCE_DIR}/src/cli/main_win.cpp)
# MAPI32.dll by ordinal and delay-loaded: it is loaded when the address books first need it, and
# Wine's mapi32 picks its provider from the registry at that moment.
find_program(PAGELARK_DLLTOOL x86_64-w64-mingw32-dlltool REQUIRED)
set(MAPI32_IMPORT ${CMAKE_BINARY_DIR}/libmapi32_ordinals.a)
add_custom_command(
    OUTPUT ${MAPI32_IMPORT}
    COMMAND ${PAGELARK_DLLTOOL} -d ${CMAKE_SOURCE_DIR}/cmake/mapi32_ordinals.def -y ${MAPI32_IMPORT}
    DEPENDS ${CMAKE_SOURCE_DIR}/cmake/mapi32_ordinals.def
    COMMENT "Import library of MAPI32.dll by ordinal")
add_custom_target(mapi32_import DEPENDS ${MAPI32_IMPORT})

# Libraries a program that only shows its tray icon never calls load when first used: the product
# links delay-load import libraries made from MinGW's (tools/make_delay_lib.sh), so start-up maps
# none of them. Every function in them stays callable as before; the first call loads the DLL.
set(PAGELARK_DELAY_LOADED comctl32 wininet htmlhelp comdlg32 winspool oleaut32 shell32 shlwapi msimg32 uxtheme crypt32
    version wintrust)
find_program(PAGELARK_NM NAMES x86_64-w64-mingw32-nm nm REQUIRED)
set(PAGELARK_PRODUCT_LIBS ${PAGELARK_WIN_LIBS})
set(delay_libraries)
foreach(lib IN LISTS PAGELARK_DELAY_LOADED)
    find_library(PAGELARK_IMPORT_${lib} NAMES lib${lib}.a REQUIRED)
    set(delay_library ${CMAKE_BINARY_DIR}/delayload/lib${lib}_delay.a)
    add_custom_command(
        OUTPUT ${delay_library}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/delayload
        COMMAND ${CMAKE_SOURCE_DIR}/tools/make_delay_lib.sh ${PAGELARK_DLLTOOL} ${PAGELARK_NM}
                ${PAGELARK_IMPORT_${lib}} ${delay_library}
        DEPENDS ${CMAKE_SOURCE_DIR}/tools/make_delay_lib.sh ${PAGELARK_IMPORT_${lib}}
        COMMENT "Making the delay-load import library of ${lib}")
    list(APPEND delay_libraries ${delay_library})
    list(TRANSFORM PAGELARK_PRODUCT_LIBS REPLACE "^${lib}$" ${delay_library})
endforeach()
add_custom_target(pagelark_delay_libraries DEPENDS ${delay_libraries})

add_library(pagelark_win STATIC ${PAGELARK_WIN_SOURCES})
add_dependencies(pagelark_win mapi32_import pagelark_delay_libraries)
target_link_libraries(pagelark_win PUBLIC pagelark_core ${PAGELARK_PRODUCT_LIBS} ${MAPI32_IMPORT} delayimp)
pagelark_product_code(pagelark_win)
add_dependencies(pagelark_win pagelark_resources)
target_include_directories(pagelark_win PUBLIC ${GEN_DIR} ${CMAKE_SOURCE_DIR}/resources)

# Sections aligned to pages in the file as in memory: Wine then maps the program's image instead
# of reading all of it into private memory, so only the pages start-up touches are resident.
set(PAGELARK_EXE_LINK_OPTIONS -static -municode -Wl,--file-alignment,4096)
add_executable(Pagelark WIN32 ${PAGELARK_MAIN} ${PAGELARK_RC})
target_link_libraries(Pagelark PRIVATE pagelark_win)
pagelark_product_code(Pagelark)
target_link_options(Pagelark PRIVATE ${PAGELARK_EXE_LINK_OPTIONS})

# The help files, compiled from help/ with chmcmd; the step fails when the languages' topics differ.
file(GLOB_RECURSE HELP_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/help/*)
set(PAGELARK_HELP_DIR ${CMAKE_BINARY_DIR}/Help)
set(PAGELARK_HELP_FILES)
foreach(chm telvoro_de telvoro_en telvoro_es telvoro_fr telvoro_ita telvoro_nl)
    list(APPEND PAGELARK_HELP_FILES ${PAGELARK_HELP_DIR}/${chm}.chm)
endforeach()
add_custom_command(
    OUTPUT ${PAGELARK_HELP_FILES}
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/make_help.py --help-dir ${CMAKE_SOURCE_DIR}/help
            --texts ${CMAKE_SOURCE_DIR}/resources/texts --work ${CMAKE_BINARY_DIR}/help-work --out ${PAGELARK_HELP_DIR}
    DEPENDS ${CMAKE_SOURCE_DIR}/tools/make_help.py ${HELP_SOURCES} ${TEXT_SOURCES}
    COMMENT "Compiling the help files of the six languages")
add_custom_target(pagelark_help ALL DEPENDS ${PAGELARK_HELP_FILES})

# The Outlook add-in, installed beside Pagelark.exe (its button starts the program from there).
add_subdirectory(src/addin)

# Staged program folder: Pagelark.exe beside Data, Help and Dictionaries, as installed.
set(PAGELARK_STAGE ${CMAKE_BINARY_DIR}/stage)
add_custom_target(stage ALL
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PAGELARK_STAGE}
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/data ${PAGELARK_STAGE}
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${PAGELARK_LEXICON_DIR} ${PAGELARK_STAGE}/Dictionaries
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${PAGELARK_HELP_DIR} ${PAGELARK_STAGE}/Help
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Pagelark> ${PAGELARK_STAGE}/Pagelark.exe
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Quillbridge> ${PAGELARK_STAGE}/Quillbridge.dll
    DEPENDS Pagelark Quillbridge pagelark_lexicons pagelark_help
    COMMENT "Staging the program folder")

# The Windows Installer package, signed. The production certificate and key are build inputs;
# without them the package is signed with a code-signing certificate of the test CA that the
# test prefix trusts (made in the build tree by standin/make-certs.sh, never committed).
set(PAGELARK_SIGNING_CERT "" CACHE FILEPATH "code-signing certificate (PEM) for the MSI")
set(PAGELARK_SIGNING_KEY "" CACHE FILEPATH "its private key (PEM)")
set(PAGELARK_TEST_CERTS ${CMAKE_BINARY_DIR}/../standin/certs CACHE PATH "where the test certificates are made")
set(MSI_DIR ${CMAKE_BINARY_DIR}/installer)
if(PAGELARK_SIGNING_CERT)
    set(MSI_CERT ${PAGELARK_SIGNING_CERT})
    set(MSI_KEY ${PAGELARK_SIGNING_KEY})
    set(MSI_CERT_COMMAND true)
else()
    set(MSI_CERT ${PAGELARK_TEST_CERTS}/codesign.crt)
    set(MSI_KEY ${PAGELARK_TEST_CERTS}/codesign.key)
    set(MSI_CERT_COMMAND ${CMAKE_SOURCE_DIR}/standin/make-certs.sh ${PAGELARK_TEST_CERTS})
endif()
file(GLOB_RECURSE DATA_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/*)
set(MSI_INPUTS ${CMAKE_SOURCE_DIR}/installer/Pagelark.wxs ${CMAKE_SOURCE_DIR}/installer/build-msi.sh ${DATA_FILES})

# The same program as the following version, packaged as the update the tests install.
add_executable(PagelarkNext WIN32 ${PAGELARK_MAIN} ${PAGELARK_RC})
target_link_libraries(PagelarkNext PRIVATE pagelark_win)
target_link_options(PagelarkNext PRIVATE ${PAGELARK_EXE_LINK_OPTIONS})
target_compile_definitions(PagelarkNext PRIVATE PAGELARK_VERSION_NEXT)
set(PAGELARK_STAGE_NEXT ${CMAKE_BINARY_DIR}/stage-next)

add_custom_command(
    OUTPUT ${MSI_DIR}/Pagelark.msi ${MSI_DIR}/Pagelark-next.msi ${MSI_DIR}/Pagelark-next-unsigned.msi
    COMMAND ${MSI_CERT_COMMAND}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${MSI_DIR}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${PAGELARK_STAGE_NEXT}
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${PAGELARK_STAGE} ${PAGELARK_STAGE_NEXT}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:PagelarkNext> ${PAGELARK_STAGE_NEXT}/Pagelark.exe
    COMMAND ${CMAKE_SOURCE_DIR}/installer/build-msi.sh ${PAGELARK_STAGE} ${PROJECT_VERSION} ${MSI_DIR}/Pagelark.msi ${MSI_CERT} ${MSI_KEY}
    COMMAND ${CMAKE_SOURCE_DIR}/installer/build-msi.sh ${PAGELARK_STAGE_NEXT} ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PAGELARK_NEXT_PATCH}
            ${MSI_DIR}/Pagelark-next.msi ${MSI_CERT} ${MSI_KEY}
    COMMAND ${CMAKE_SOURCE_DIR}/installer/build-msi.sh ${PAGELARK_STAGE_NEXT} ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PAGELARK_NEXT_PATCH}
            ${MSI_DIR}/Pagelark-next-unsigned.msi
    DEPENDS stage PagelarkNext ${MSI_INPUTS}
    COMMENT "Packaging and signing Pagelark.msi (and the following version for the update tests)")
add_custom_target(msi ALL DEPENDS ${MSI_DIR}/Pagelark.msi)

# Tests under Wine (CMAKE_CROSSCOMPILING_EMULATOR runs them).
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

function(pagelark_wine_test name)
    cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} gtest gmock)
    target_link_options(${name} PRIVATE -static)
    target_compile_definitions(${name} PRIVATE ${PAGELARK_WIN_DEFINITIONS}
        PAGELARK_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
    add_test(NAME ${name} COMMAND ${name})
endfunction()

file(GLOB UNIT_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
pagelark_wine_test(unit_tests SOURCES ${UNIT_TEST_SOURCES} LIBS pagelark_core gtest_main)
# Only the engine's tests read the lexicons the build makes.
set_source_files_properties(${CMAKE_SOURCE_DIR}/tests/unit/window_hunspell_engine_test.cpp PROPERTIES
    COMPILE_DEFINITIONS "PAGELARK_LEXICON_DIR=\"${PAGELARK_LEXICON_DIR}\"")
add_dependencies(unit_tests pagelark_lexicons)

file(GLOB WIN_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/*.cpp)
if(WIN_TEST_SOURCES)
    pagelark_wine_test(win_tests SOURCES ${WIN_TEST_SOURCES} ${PAGELARK_RC}
                       ${CMAKE_SOURCE_DIR}/tests/blackbox/connector_double.cpp ${CMAKE_SOURCE_DIR}/tests/blackbox/driver.cpp
                       ${CMAKE_SOURCE_DIR}/tests/doubles/connector/connector_store.cpp
                       LIBS pagelark_win gtest_main)
    # The connector stand-in's registration helper is shared with the black-box tests.
    target_include_directories(win_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/blackbox)
    add_dependencies(win_tests connector_double)
    # The check of the shipped data files reads the staged program folder.
    set_source_files_properties(${CMAKE_SOURCE_DIR}/tests/win/app_data_folders_test.cpp
        ${CMAKE_SOURCE_DIR}/tests/win/addin_server_test.cpp PROPERTIES
        COMPILE_DEFINITIONS "PAGELARK_STAGE_DIR=\"${PAGELARK_STAGE}\"")
    add_dependencies(win_tests stage)
endif()

file(GLOB BLACKBOX_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/blackbox/*.cpp)
if(BLACKBOX_SOURCES)
    # The connector stand-in's store is read with its own reader.
    pagelark_wine_test(blackbox_tests SOURCES ${BLACKBOX_SOURCES} ${CMAKE_SOURCE_DIR}/tests/doubles/connector/connector_store.cpp
                       LIBS gtest_main ${PAGELARK_WIN_LIBS})
    target_include_directories(blackbox_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/blackbox ${CMAKE_SOURCE_DIR}/src ${GEN_DIR})
    add_dependencies(blackbox_tests stage pagelark_resource_ids connector_double)
endif()

# Updates through the real program and Windows Installer: an executable of its own, because it
# installs and removes packages that the other black-box tests must not see.
file(GLOB UPDATE_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/update/*.cpp)
if(UPDATE_TEST_SOURCES)
    pagelark_wine_test(update_tests SOURCES ${UPDATE_TEST_SOURCES} ${CMAKE_SOURCE_DIR}/tests/blackbox/driver.cpp
                       LIBS gtest_main ${PAGELARK_WIN_LIBS})
    target_include_directories(update_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/blackbox ${CMAKE_SOURCE_DIR}/src ${GEN_DIR})
    add_dependencies(update_tests stage msi pagelark_resource_ids)
endif()

file(GLOB WIN_BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/bench/*_winbench.cpp)
foreach(src IN LISTS WIN_BENCH_SOURCES)
    get_filename_component(bench ${src} NAME_WE)
    add_executable(${bench} ${src})
    target_link_libraries(${bench} PRIVATE ${PAGELARK_WIN_LIBS})
    target_compile_definitions(${bench} PRIVATE ${PAGELARK_WIN_DEFINITIONS})
    target_link_options(${bench} PRIVATE -static)
endforeach()
# The add-in's click figures drive the program and the Outlook double as the black-box tests do.
target_sources(addin_click_winbench PRIVATE ${CMAKE_SOURCE_DIR}/tests/blackbox/driver.cpp
               ${CMAKE_SOURCE_DIR}/tests/blackbox/outlook_host.cpp)
target_include_directories(addin_click_winbench PRIVATE ${CMAKE_SOURCE_DIR}/tests/blackbox ${CMAKE_SOURCE_DIR}/src ${GEN_DIR})
add_dependencies(addin_click_winbench pagelark_resource_ids)
target_link_libraries(addin_click_winbench PRIVATE gtest)
target_link_options(addin_click_winbench PRIVATE -municode)
# The spelling benchmark measures the engine itself.
target_link_libraries(spelling_winbench PRIVATE pagelark_core)
# The Outlook figures drive the bridge's own Outlook code.
if(TARGET outlook_items_winbench)
    target_link_libraries(outlook_items_winbench PRIVATE pagelark_win)
endif()

add_subdirectory(tests/doubles/outlook)

add_subdirectory(tests/doubles/mapi)
add_subdirectory(tests/doubles/connector)
add_executable(address_books_bench ${CMAKE_SOURCE_DIR}/tests/bench/address_books_bench_win.cpp)
target_link_libraries(address_books_bench PRIVATE pagelark_win psapi)
target_compile_definitions(address_books_bench PRIVATE ${PAGELARK_WIN_DEFINITIONS})
target_link_options(address_books_bench PRIVATE -static)
add_dependencies(address_books_bench mapi_double wab_double)
if(TARGET win_tests)
    add_dependencies(win_tests mapi_double wab_double)
endif()

