#include "TApplication.h"
#include "paMonSettings.h"

int main(int argc, char **argv)
{
    // Created before the window and destroyed after it.
    QStringList vScratchList;
    TApplication application(argc, argv);
    TfmMonSettings fmMonSettings(vScratchList);
    fmMonSettings.show();
    fmMonSettings.activateWindow();
    return application.exec();
}
