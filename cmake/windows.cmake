# The Windows build: the shell library, kelvaro.exe, and the test programs that
# CTest runs under Wine through the cross-compiling emulator.

enable_language(RC)
set(KELVARO_RESOURCE_SCRIPT ${CMAKE_SOURCE_DIR}/src/resources/kelvaro.rc)
# The resource compiler reports no dependencies: a redrawn icon or an edited manifest must still
# rebuild the resources.
file(GLOB KELVARO_RESOURCE_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/resources/*.ico
  ${CMAKE_SOURCE_DIR}/src/resources/*.bmp ${CMAKE_SOURCE_DIR}/src/resources/*.manifest
  ${CMAKE_SOURCE_DIR}/src/resources/resource_ids.h)

set(KELVARO_ENTRY_SOURCE ${CMAKE_SOURCE_DIR}/src/app/winmain_win.cpp)
list(REMOVE_ITEM KELVARO_WIN32_SOURCES ${KELVARO_ENTRY_SOURCE})

# comdlg32, ole32 and winmm serve only the Browse buttons, the About links and the sounds: the
# program loads them when they are used (see win32_platform_win.cpp), so they are not linked.
set(KELVARO_WIN32_LIBS comctl32 shell32 user32 gdi32 advapi32)
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)

# The product's web site and its feedback page, for a distributor to point at their own pages.
set(KELVARO_HOME_URL "https://kelvaro.example.org/" CACHE STRING "Web site opened by About's Check for Update")
set(KELVARO_FEEDBACK_URL "https://feedback.example.net/kelvaro" CACHE STRING "Page opened by About's Give Feedback")
# The About box shows the web site's address as one would type it: no scheme, no closing slash.
string(REGEX REPLACE "^[A-Za-z][A-Za-z0-9+.-]*://" "" KELVARO_HOME_ADDRESS "${KELVARO_HOME_URL}")
string(REGEX REPLACE "/$" "" KELVARO_HOME_ADDRESS "${KELVARO_HOME_ADDRESS}")
# windres hands its definitions to the preprocessor through a shell, which takes off one level of quotes.
if(CMAKE_RC_COMPILER MATCHES "windres")
  set(KELVARO_RC_QUOTE "\\\"")
else()
  set(KELVARO_RC_QUOTE "\"")
endif()
add_compile_definitions(
  $<$<COMPILE_LANGUAGE:CXX>:KELVARO_HOME_URL="${KELVARO_HOME_URL}">
  $<$<COMPILE_LANGUAGE:CXX>:KELVARO_FEEDBACK_URL="${KELVARO_FEEDBACK_URL}">
  $<$<COMPILE_LANGUAGE:RC>:KELVARO_HOME_ADDRESS=${KELVARO_RC_QUOTE}${KELVARO_HOME_ADDRESS}${KELVARO_RC_QUOTE}>)
if(MINGW)
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()

add_library(kelvaro_shell STATIC ${KELVARO_WIN32_SOURCES})
target_link_libraries(kelvaro_shell PUBLIC kelvaro_core ${KELVARO_WIN32_LIBS})

# The built-in translations, without the comments that only the translators read.
set(KELVARO_LANGUAGES de fr es it pt_BR nl pl ru zh_CN ja)
set(KELVARO_BUILT_IN_TRANSLATIONS)
foreach(language ${KELVARO_LANGUAGES})
  set(po ${CMAKE_SOURCE_DIR}/src/resources/translations/${language}.po)
  set(built_in ${CMAKE_BINARY_DIR}/translations/built-in-${language}.po)
  add_custom_command(OUTPUT ${built_in}
    COMMAND ${CMAKE_COMMAND} -DIN=${po} -DOUT=${built_in} -P ${CMAKE_SOURCE_DIR}/cmake/strip_po.cmake
    DEPENDS ${po} ${CMAKE_SOURCE_DIR}/cmake/strip_po.cmake VERBATIM)
  list(APPEND KELVARO_BUILT_IN_TRANSLATIONS ${built_in})
endforeach()
# The resource compiler finds them there; every program with the resources takes them.
add_compile_options($<$<COMPILE_LANGUAGE:RC>:-I${CMAKE_BINARY_DIR}/translations>)
set_source_files_properties(${KELVARO_RESOURCE_SCRIPT} PROPERTIES
  OBJECT_DEPENDS "${KELVARO_RESOURCE_FILES};${KELVARO_BUILT_IN_TRANSLATIONS}")

add_executable(kelvaro WIN32 ${KELVARO_ENTRY_SOURCE} ${KELVARO_RESOURCE_SCRIPT})
target_link_libraries(kelvaro PRIVATE kelvaro_shell)
# The entry point takes the command line as UTF-16. The release program carries no symbols: the
# static C++ runtime's debugging sections alone would be a third of its size.
if(MINGW)
  target_link_options(kelvaro PRIVATE -municode $<$<CONFIG:Release>:-s>)
endif()

# The catalogue, the break ideas and the sounds that a user gets beside the program.
set(KELVARO_DATA_FILES
  ${CMAKE_SOURCE_DIR}/src/messages/standard.txt
  ${CMAKE_SOURCE_DIR}/src/breaks/breakideas.txt
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

# Each test under Wine runs in a Wine session of its own (prefix, wineserver and virtual display),
# so that the tests run side by side; every session starts as a copy of one prepared prefix.
function(kelvaro_wine_session test)
  if(CMAKE_CROSSCOMPILING)
    set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT
      KELVARO_WINE_SESSION=${test} KELVARO_WINE_TEMPLATE=${CMAKE_BINARY_DIR}/wineprefix-template)
  endif()
endfunction()

file(GLOB KELVARO_WIN32_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win32/*.cpp)
add_executable(kelvaro_win32_tests ${KELVARO_WIN32_TESTS} ${KELVARO_RESOURCE_SCRIPT})
target_include_directories(kelvaro_win32_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/win32)
target_link_libraries(kelvaro_win32_tests PRIVATE kelvaro_shell GTest::gtest_main)
# The texts that must fit are read from the sources, as shipped.
target_compile_definitions(kelvaro_win32_tests PRIVATE KELVARO_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
# Thirds side by side, each in a session of its own. Every TIMEOUT of the Wine tests is a hang guard
# sized for a machine whose processors are busy with other work (a load average of 35 on two
# processors): two to three times the longest run seen there.
foreach(shard 0 1 2)
  add_test(NAME win32_${shard} COMMAND kelvaro_win32_tests --gtest_brief=1)
  set_tests_properties(win32_${shard} PROPERTIES TIMEOUT 1800
    ENVIRONMENT "GTEST_TOTAL_SHARDS=3;GTEST_SHARD_INDEX=${shard}")
  kelvaro_wine_session(win32_${shard})
endforeach()
# The dialogs' texts again at 150 % scaling, in a Wine session of that DPI (Linux only), and the
# History dialog's views drawn there.
if(CMAKE_CROSSCOMPILING)
  add_test(NAME text_fit_144dpi COMMAND bash ${CMAKE_SOURCE_DIR}/tests/win32/run-at-dpi.sh ${CMAKE_BINARY_DIR} 144
    $<TARGET_FILE:kelvaro_win32_tests> --gtest_brief=1
    --gtest_filter=TextFitTest.*:*TextFitInEveryLanguage.*:HistoryDialogViews.*)
  # A first Wine start of its own prefix included.
  set_tests_properties(text_fit_144dpi PROPERTIES TIMEOUT 600)
  kelvaro_wine_session(text_fit_144dpi)
endif()

# The break's covers on two monitors side by side, the second switched off and on during the break:
# Xorg's dummy driver in a Wine session of its own (Linux only, as root).
if(CMAKE_CROSSCOMPILING)
  add_test(NAME two_monitors COMMAND bash ${CMAKE_SOURCE_DIR}/tests/win32/run-on-two-monitors.sh ${CMAKE_BINARY_DIR}
    $<TARGET_FILE:kelvaro_win32_tests> --gtest_brief=1 --gtest_filter=TwoMonitors.*)
  # A first Wine start of its own prefix and a display of its own included.
  set_tests_properties(two_monitors PROPERTIES TIMEOUT 600)
  kelvaro_wine_session(two_monitors)
endif()

file(GLOB KELVARO_E2E_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.cpp)
if(KELVARO_E2E_SOURCES)
  add_executable(kelvaro_e2e ${KELVARO_E2E_SOURCES} ${CMAKE_SOURCE_DIR}/src/platform/text_win.cpp)
  target_include_directories(kelvaro_e2e PRIVATE ${CMAKE_SOURCE_DIR}/tests/e2e ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(kelvaro_e2e PRIVATE GTest::gtest_main ${KELVARO_WIN32_LIBS})
  target_compile_definitions(kelvaro_e2e PRIVATE
    KELVARO_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  add_dependencies(kelvaro_e2e kelvaro)
  # The kills and the table of damaged files are long runs: each is an entry of its own.
  set(KELVARO_E2E_LONG_RUNS KillE2e.*:HostileFilesE2e.*:QuietE2e.*:EyeBreaksE2e.*:HeadsUpE2e.*:CommandLineE2e.*)
  add_test(NAME e2e COMMAND kelvaro_e2e --gtest_brief=1 --gtest_filter=-${KELVARO_E2E_LONG_RUNS} $<TARGET_FILE:kelvaro>)
  set_tests_properties(e2e PROPERTIES TIMEOUT 1500)
  add_test(NAME e2e_kill COMMAND kelvaro_e2e --gtest_brief=1 --gtest_filter=KillE2e.* $<TARGET_FILE:kelvaro>)
  # About two minutes of kills on an idle machine, twenty on a busy one.
  set_tests_properties(e2e_kill PROPERTIES TIMEOUT 3600)
  add_test(NAME e2e_quiet COMMAND kelvaro_e2e --gtest_brief=1 --gtest_filter=QuietE2e.* $<TARGET_FILE:kelvaro>)
  # Two minutes of one-minute reminders.
  set_tests_properties(e2e_quiet PROPERTIES TIMEOUT 1200)
  add_test(NAME e2e_eye_breaks COMMAND kelvaro_e2e --gtest_brief=1 --gtest_filter=EyeBreaksE2e.* $<TARGET_FILE:kelvaro>)
  # A minute and a half of work and stillness, a first Wine start of its prefix included.
  set_tests_properties(e2e_eye_breaks PROPERTIES TIMEOUT 1200)
  add_test(NAME e2e_heads_up COMMAND kelvaro_e2e --gtest_brief=1 --gtest_filter=HeadsUpE2e.* $<TARGET_FILE:kelvaro>)
  # A minute until the first break and forty seconds of watching, a first Wine start included.
  set_tests_properties(e2e_heads_up PROPERTIES TIMEOUT 1200)
  add_test(NAME e2e_command_line COMMAND kelvaro_e2e --gtest_brief=1 --gtest_filter=CommandLineE2e.* $<TARGET_FILE:kelvaro>)
  # Three runs of the program, each with a dozen later starts of a few seconds each on an idle machine.
  set_tests_properties(e2e_command_line PROPERTIES TIMEOUT 1200)
  kelvaro_wine_session(e2e)
  kelvaro_wine_session(e2e_command_line)
  kelvaro_wine_session(e2e_eye_breaks)
  kelvaro_wine_session(e2e_kill)
  kelvaro_wine_session(e2e_quiet)
  kelvaro_wine_session(e2e_heads_up)
  # Some fifty starts, a few with files of tens of megabytes: the table of each file side by side.
  foreach(shard 0 1 2 3)
    add_test(NAME e2e_hostile_files_${shard} COMMAND kelvaro_e2e --gtest_brief=1 --gtest_filter=HostileFilesE2e.*
      $<TARGET_FILE:kelvaro>)
    set_tests_properties(e2e_hostile_files_${shard} PROPERTIES TIMEOUT 2400
      ENVIRONMENT "GTEST_TOTAL_SHARDS=4;GTEST_SHARD_INDEX=${shard}")
    kelvaro_wine_session(e2e_hostile_files_${shard})
  endforeach()
endif()

# The active-time stories move the wall clock while the program runs: they run in a Wine session
# of their own whose clock libfaketime fakes (Linux only).
file(GLOB KELVARO_E2E_CLOCK_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/clock/*.cpp)
if(CMAKE_CROSSCOMPILING AND KELVARO_E2E_SOURCES AND KELVARO_E2E_CLOCK_TESTS)
  set(KELVARO_E2E_DRIVER_SOURCES ${KELVARO_E2E_SOURCES})
  list(FILTER KELVARO_E2E_DRIVER_SOURCES EXCLUDE REGEX "_test\\.cpp$")
  add_executable(kelvaro_e2e_clock ${KELVARO_E2E_CLOCK_TESTS} ${KELVARO_E2E_DRIVER_SOURCES}
    ${CMAKE_SOURCE_DIR}/src/platform/text_win.cpp)
  target_include_directories(kelvaro_e2e_clock PRIVATE ${CMAKE_SOURCE_DIR}/tests/e2e ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(kelvaro_e2e_clock PRIVATE GTest::gtest_main ${KELVARO_WIN32_LIBS})
  target_compile_definitions(kelvaro_e2e_clock PRIVATE KELVARO_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  add_dependencies(kelvaro_e2e_clock kelvaro)
  add_test(NAME e2e_clock COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/run-with-faked-clock.sh ${CMAKE_BINARY_DIR}
    $<TARGET_FILE:kelvaro_e2e_clock> --gtest_brief=1 --gtest_filter=-NaturalBreakE2e.* $<TARGET_FILE:kelvaro>)
  # About two minutes on an idle machine.
  set_tests_properties(e2e_clock PROPERTIES TIMEOUT 1200)
  kelvaro_wine_session(e2e_clock)
  # Five minutes away made seconds: the tick count moves with the clock, in a session of its own.
  add_test(NAME e2e_natural_break COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/run-with-faked-clock.sh --ticks-too
    ${CMAKE_BINARY_DIR} $<TARGET_FILE:kelvaro_e2e_clock> --gtest_brief=1 --gtest_filter=NaturalBreakE2e.*
    $<TARGET_FILE:kelvaro>)
  set_tests_properties(e2e_natural_break PROPERTIES TIMEOUT 900)
  kelvaro_wine_session(e2e_natural_break)
endif()

# The program the README's pictures are taken of: kelvaro.exe with an entry point of its own, whose
# windows hold still until the pictures make time pass (tests/pictures).
add_executable(kelvaro_pictures WIN32 ${CMAKE_SOURCE_DIR}/tests/pictures/pictures_main_win.cpp ${KELVARO_RESOURCE_SCRIPT})
target_link_libraries(kelvaro_pictures PRIVATE kelvaro_shell)
if(MINGW)
  target_link_options(kelvaro_pictures PRIVATE -municode)
endif()
# kelvaro.exe itself has no such switch: it reads no environment variable but OS.
add_test(NAME product_environment COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${CMAKE_SOURCE_DIR}
  -P ${CMAKE_SOURCE_DIR}/tests/pictures/product_environment.cmake)
set_tests_properties(product_environment PROPERTIES TIMEOUT 120)

# The README's pictures must keep coming out right: the script takes them again, into the build folder.
find_program(KELVARO_CONVERT convert PATHS /usr/bin NO_DEFAULT_PATH)
if(CMAKE_CROSSCOMPILING AND KELVARO_CONVERT)
  # The script runs Wine on a display of its own, in the session's prefix, which ends with the test
  # even when the test is killed.
  add_test(NAME screenshots COMMAND bash ${CMAKE_SOURCE_DIR}/cmake/wine-run.sh ${CMAKE_BINARY_DIR} --host
    bash ${CMAKE_SOURCE_DIR}/tools/update_screenshots.sh $<TARGET_FILE:kelvaro_pictures> ${CMAKE_BINARY_DIR}/screenshots)
  set_tests_properties(screenshots PROPERTIES TIMEOUT 1800
    ENVIRONMENT KELVARO_WINEPREFIX=${CMAKE_BINARY_DIR}/wine-screenshots/wineprefix)
  kelvaro_wine_session(screenshots)
endif()

# The portable zip and the installer, and their tests; last, so that they run after the others.
include(${CMAKE_SOURCE_DIR}/cmake/packaging.cmake)
