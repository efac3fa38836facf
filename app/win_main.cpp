#include "app/application_record.h"
#include "app/command_tail.h"

// The tail is taken from the process's own command line rather than from
// lpCmdLine, so that it follows one rule whatever runtime built the latter.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return RunViewer(instance, CommandTail(GetCommandLineA()));
}
