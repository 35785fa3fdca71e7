# setup.exe: the engine alone; package/ appends the script and the archive.
add_library(kelvane_setup_win32 STATIC
  BackgroundWindow.cpp WizardDialogs.cpp Win32InstallSystem.cpp)
target_link_libraries(kelvane_setup_win32 PUBLIC
  kelvane_install_win32 kelvane_install_record kelvane_package kelvane_ui ole32 uuid gdi32 comctl32)
kelvane_uses_exceptions(kelvane_setup_win32)  # catches it when an entry is extracted
add_executable(setup WIN32 SetupApp.cpp setup.rc)
target_link_libraries(setup PRIVATE kelvane_setup_win32)
kelvane_shipped_program(setup)
