// The program: the settings window of the game, in the game's folder.
#include <windows.h>

#include <memory>

#include "app/Main.h"
#include "app/Platform.h"
#include "ui/Application.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // One window per game folder. A second start brings the first one's window forward and ends
    // before it has read or written anything.
    const std::wstring folder = ProgramFolder();
    FolderClaim claim(folder);
    if (!claim.Take()) return 0;

    ui::TApplication& application = ui::Application();
    std::unique_ptr<TfConfig> fConfig;
    try {
        application.Initialize();
        fConfig = std::make_unique<TfConfig>(folder, CommandLineArguments());
        application.Run();
    } catch (...) {
        // An error while the window is built ends the program before it is shown.
        ui::ReportException();
    }
    return 0;
}
