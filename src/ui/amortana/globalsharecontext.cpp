// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/amortana/globalsharecontext.h"

#include <QOpenGLContext>

// Qt GUI exports this function but declares it only in its private header
// qopenglcontext_p.h; Qt WebEngine declares it the same way. Checked on Qt 6.4.2
// (Debian 12, libQt6Gui.so.6 exports _Z30qt_gl_set_global_share_contextP14QOpenGLContext).
// Check again at every Qt upgrade: tst_webpanel's globalShareContextIsSet fails when it
// no longer does what this program needs, and the link fails when it is gone.
QT_BEGIN_NAMESPACE
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext *context);
QT_END_NAMESPACE

void globalsharecontext::set(QOpenGLContext *context)
{
    qt_gl_set_global_share_context(context);
}
