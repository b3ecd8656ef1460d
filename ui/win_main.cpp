#include <windows.h>

#include "ui/startup.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  ExitProcess(skyplate::RunProgram());
}
