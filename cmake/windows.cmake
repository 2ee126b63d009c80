# The Windows build: the shell library, kelvaro.exe, and the test programs that
# CTest runs under Wine through the cross-compiling emulator.

enable_language(RC)
set(KELVARO_RESOURCE_SCRIPT ${CMAKE_SOURCE_DIR}/src/resources/kelvaro.rc)
set(KELVARO_ENTRY_SOURCE ${CMAKE_SOURCE_DIR}/src/app/winmain_win.cpp)
list(REMOVE_ITEM KELVARO_WIN32_SOURCES ${KELVARO_ENTRY_SOURCE})

set(KELVARO_WIN32_LIBS comctl32 comdlg32 winmm shell32 user32 gdi32 advapi32 ole32 uuid)
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
if(MINGW)
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()

add_library(kelvaro_shell STATIC ${KELVARO_WIN32_SOURCES})
target_link_libraries(kelvaro_shell PUBLIC kelvaro_core ${KELVARO_WIN32_LIBS})

add_executable(kelvaro WIN32 ${KELVARO_ENTRY_SOURCE} ${KELVARO_RESOURCE_SCRIPT})
target_link_libraries(kelvaro PRIVATE kelvaro_shell)
# The entry point takes the command line as UTF-16.
if(MINGW)
  target_link_options(kelvaro PRIVATE -municode)
endif()

# The catalogue and the sounds that a user gets beside the program.
set(KELVARO_DATA_FILES
  ${CMAKE_SOURCE_DIR}/src/messages/standard.txt
  ${CMAKE_SOURCE_DIR}/src/resources/sounds/message.wav
  ${CMAKE_SOURCE_DIR}/src/resources/sounds/break.wav)
foreach(data_file ${KELVARO_DATA_FILES})
  get_filename_component(data_name ${data_file} NAME)
  add_custom_command(TARGET kelvaro POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${data_file} $<TARGET_FILE_DIR:kelvaro>/${data_name})
endforeach()

# Built on Linux, the Windows programs run under Wine; built on Windows, they run as they are.
if(CMAKE_CROSSCOMPILING)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/cmake/wine-run.sh ${CMAKE_BINARY_DIR})
endif()

file(GLOB KELVARO_WIN32_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win32/*.cpp)
add_executable(kelvaro_win32_tests ${KELVARO_WIN32_TESTS} ${KELVARO_RESOURCE_SCRIPT})
target_include_directories(kelvaro_win32_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/win32)
target_link_libraries(kelvaro_win32_tests PRIVATE kelvaro_shell GTest::gtest_main)
add_test(NAME win32 COMMAND kelvaro_win32_tests --gtest_brief=1)

file(GLOB KELVARO_E2E_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.cpp)
if(KELVARO_E2E_SOURCES)
  add_executable(kelvaro_e2e ${KELVARO_E2E_SOURCES} ${CMAKE_SOURCE_DIR}/src/platform/text_win.cpp)
  target_include_directories(kelvaro_e2e PRIVATE ${CMAKE_SOURCE_DIR}/tests/e2e ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(kelvaro_e2e PRIVATE GTest::gtest_main ${KELVARO_WIN32_LIBS})
  target_compile_definitions(kelvaro_e2e PRIVATE
    KELVARO_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  add_dependencies(kelvaro_e2e kelvaro)
  add_test(NAME e2e COMMAND kelvaro_e2e --gtest_brief=1 $<TARGET_FILE:kelvaro>)
endif()
