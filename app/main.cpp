#include "CommandLine.h"
#include "TApplication.h"
#include "paMonSettings.h"

int main(int argc, char **argv)
{
    if (const std::optional<int> exitCode = answerCommandLine(argc, argv))
        return *exitCode;
    // Created before the window and destroyed after it.
    QStringList vScratchList;
    TApplication application(argc, argv);
    TfmMonSettings fmMonSettings(vScratchList);
    fmMonSettings.show();
    fmMonSettings.activateWindow();
    return application.exec();
}
