// The entry of a handheld program: it declares the device's wide WinMain and links this.
#include "win32.h"

#include "platform/host/host_main.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int showCommand);

int main(int argc, char** argv)
{
    host::ProgramEntry entry;
    entry.handheld = true;
    entry.winMain = [](HINSTANCE instance) {
        WCHAR noArguments[1] = {0};
        return WinMain(instance, nullptr, noArguments, SW_SHOW);
    };
    return host::runHostProgram(argc, argv, entry);
}
