#include <windows.h>

#include "app/windows/KelvaneApp.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  CKelvaneApp app;
  return app.Run();
}
