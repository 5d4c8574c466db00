#include "application.h"
#include "apptitle.h"
#include "errorreporting.h"
#include "tamortanaf.h"
#include "tyardimf.h"

int main(int argc, char *argv[])
{
    // The web view shares its graphics context with the rest of the window.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    Application application(argc, argv);

    TamortanaF amortanaF;
    amortanaF.setWindowIcon(application.windowIcon());
    // A database that cannot be opened does not stop the start: each step shows its
    // error and the window comes up with an empty grid.
    errorreporting::reportErrors([&] { amortanaF.connectOnLoad(); });
    errorreporting::reportErrors([&] { amortanaF.FormCreate(); });

    TyardimF yardimF;
    // Closing the main window ends the program even while the help window is open.
    yardimF.setAttribute(Qt::WA_QuitOnClose, false);
    errorreporting::reportErrors([&] { yardimF.FormCreate(); });
    amortanaF.setHelpWindow(&yardimF);

    amortanaF.showMaximized();
    application.exec();
    return 0;
}
