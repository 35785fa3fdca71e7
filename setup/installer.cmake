# The installer's portable decisions (names, paths, wizard checks, the
# installation run) and, on Windows, their Win32 halves and the setup program.
add_library(kelvane_install STATIC
  ${CMAKE_CURRENT_LIST_DIR}/PathText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FileSystem.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WizardRules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SetupTexts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/InstallRun.cpp)
target_include_directories(kelvane_install PUBLIC ${PROJECT_SOURCE_DIR})

if(WIN32 AND EXISTS ${CMAKE_CURRENT_LIST_DIR}/windows/CMakeLists.txt)
  add_subdirectory(${CMAKE_CURRENT_LIST_DIR}/windows ${CMAKE_CURRENT_BINARY_DIR}/windows)
endif()
