# The installer's portable decisions (names, paths, wizard checks, the
# installation run) and, on Windows, their Win32 halves and the setup program.
add_library(kelvane_install STATIC
  ${CMAKE_CURRENT_LIST_DIR}/PathText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FileSystem.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WizardRules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SetupTexts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/InstallRun.cpp)
target_include_directories(kelvane_install PUBLIC ${PROJECT_SOURCE_DIR})


# The record in the shape the run and the uninstaller use, once the record
# format is there.
if(TARGET kelvane_record)
  add_library(kelvane_install_record STATIC ${CMAKE_CURRENT_LIST_DIR}/RecordFile.cpp)
  target_link_libraries(kelvane_install_record PUBLIC kelvane_install kelvane_record)
endif()
