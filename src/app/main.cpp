#include "application.h"
#include "startup.h"
#include "tamortanaf.h"
#include "terminationsignals.h"

int main(int argc, char *argv[])
{
    Application application(argc, argv);

    const MainWindows windows = createMainWindows();
    terminationsignals::closeOnTermination(windows.amortanaF.get());
    windows.amortanaF->showMaximized();
    application.exec();
    // The loop can also end without the window being closed (the session manager's
    // last word at log-off): the close handler runs all the same.
    if (windows.amortanaF->isVisible())
        windows.amortanaF->close();
    return 0;
}
