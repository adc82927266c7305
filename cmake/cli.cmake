# pagelark-cli: the command-line sender. Its logic is portable core (src/cli); each system adds
# its entry point and transport: WinInet and the registry on Windows, libcurl and an INI file on Linux.
if(WIN32)
    add_executable(pagelark-cli ${CMAKE_SOURCE_DIR}/src/cli/main_win.cpp)
    target_link_libraries(pagelark-cli PRIVATE pagelark_win)
    target_link_options(pagelark-cli PRIVATE -static -municode)
    # Installed beside Pagelark.exe: the same Data folder, the same request log.
    add_custom_command(TARGET pagelark-cli POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E make_directory ${PAGELARK_STAGE}
        COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:pagelark-cli> ${PAGELARK_STAGE}/pagelark-cli.exe)
    add_dependencies(stage pagelark-cli)
else()
    find_package(CURL REQUIRED)
    add_executable(pagelark-cli ${PAGELARK_POSIX_SOURCES})
    target_link_libraries(pagelark-cli PRIVATE pagelark_core CURL::libcurl)
    target_compile_options(pagelark-cli PRIVATE -Wall -Wextra -Wpedantic)
    # The check list beside the program, as the message window has it in its program folder.
    add_custom_command(TARGET pagelark-cli POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E make_directory $<TARGET_FILE_DIR:pagelark-cli>/Data
        COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/data/Data/check_codes.txt
                $<TARGET_FILE_DIR:pagelark-cli>/Data/check_codes.txt)

    # Black-box runs of the real program against a stand-in of their own (free ports).
    file(GLOB CLI_BLACKBOX_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/cli/*.cpp)
    if(CLI_BLACKBOX_SOURCES AND TARGET standin_core)
        add_executable(cli_blackbox_tests ${CLI_BLACKBOX_SOURCES})
        target_link_libraries(cli_blackbox_tests PRIVATE standin_core pagelark_core GTest::gtest_main)
        target_include_directories(cli_blackbox_tests PRIVATE ${CMAKE_SOURCE_DIR}/standin/tests)
        target_compile_definitions(cli_blackbox_tests PRIVATE
            PAGELARK_CLI="$<TARGET_FILE:pagelark-cli>"
            STANDIN_MAKE_CERTS="${CMAKE_SOURCE_DIR}/standin/make-certs.sh"
            STANDIN_TEST_DIR="${CMAKE_CURRENT_BINARY_DIR}/cli-test-state")
        add_dependencies(cli_blackbox_tests pagelark-cli)
        gtest_discover_tests(cli_blackbox_tests DISCOVERY_TIMEOUT 60)
    endif()
endif()
