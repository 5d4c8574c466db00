#include "application.h"
#include "startup.h"
#include "tamortanaf.h"

int main(int argc, char *argv[])
{
    // The web view shares its graphics context with the rest of the window.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    Application application(argc, argv);

    const MainWindows windows = createMainWindows();
    windows.amortanaF->showMaximized();
    application.exec();
    return 0;
}
