// A stand-in for the programs the settings window starts: copied under their names, it writes
// how it was started to <its name>.log beside itself, stays for the milliseconds that
// "stay-ms.txt" beside it gives (none when absent), and then adds the line "ended".
#include <windows.h>

#include <fstream>
#include <string>

int main(int argc, char**)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string program = path;
    const std::string folder = program.substr(0, program.find_last_of('\\') + 1);
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, current);

    const std::string log = program.substr(0, program.size() - 4) + ".log";
    {
        std::ofstream out(log, std::ios::binary | std::ios::trunc);
        out << "command line: " << GetCommandLineA() << "\r\n"
            << "arguments: " << argc - 1 << "\r\n"
            << "working folder: " << current << "\r\n"
            << "program: " << program << "\r\n";
    }
    int stay = 0;
    std::ifstream(folder + "stay-ms.txt") >> stay;
    Sleep(static_cast<DWORD>(stay));
    std::ofstream(log, std::ios::binary | std::ios::app) << "ended\r\n";
    return 0;
}
