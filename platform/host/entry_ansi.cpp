// The entry of a desktop program: it declares the ANSI WinMain and links this.
#include "win32.h"

#include "platform/host/host_main.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);

int main(int argc, char** argv)
{
    host::ProgramEntry entry;
    entry.handheld = false;
    entry.winMain = [](HINSTANCE instance) {
        char noArguments[1] = {0};
        return WinMain(instance, nullptr, noArguments, SW_SHOWNORMAL);
    };
    return host::runHostProgram(argc, argv, entry);
}
