# kelvaro.exe reads no environment variable but OS: no switch for the tests or the pictures changes
# what the shipped program does (the pictures have a program of their own, kelvaro_pictures.exe).
# The system's environment calls stand only in the Platform's implementation, which reads the
# variable it is asked for, and the program asks for OS alone.
#   cmake -DSOURCE_DIR=... -P product_environment.cmake
file(GLOB_RECURSE sources ${SOURCE_DIR}/src/*.cpp ${SOURCE_DIR}/src/*.h)
set(faults)
foreach(source ${sources})
  file(READ ${source} text)
  string(REGEX MATCHALL "(getenv|GetEnvironmentVariable[AW]?|GetEnvironmentStrings[AW]?|_dupenv_s)[ \t]*\\(" calls "${text}")
  if(calls AND NOT source MATCHES "/src/platform/win32_platform_win\\.cpp$")
    list(APPEND faults "${source} calls ${calls}")
  endif()
  string(REGEX MATCHALL "EnvironmentVariable\\([^)]*\\)" asks "${text}")
  foreach(ask ${asks})
    if(NOT ask MATCHES "^EnvironmentVariable\\((\"OS\"|const std::string& name)\\)$")
      list(APPEND faults "${source} asks for ${ask}")
    endif()
  endforeach()
endforeach()
if(faults)
  list(JOIN faults "\n" faults)
  message(FATAL_ERROR "kelvaro.exe must read no environment variable but OS:\n${faults}")
endif()
