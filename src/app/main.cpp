#include "application.h"
#include "startup.h"
#include "tamortanaf.h"

int main(int argc, char *argv[])
{
    Application application(argc, argv);

    const MainWindows windows = createMainWindows();
    windows.amortanaF->showMaximized();
    application.exec();
    return 0;
}
