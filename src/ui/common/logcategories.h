// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLoggingCategory>

// The program's log: one category per outside thing that can fail without the user
// seeing a box. Warnings show by default; the debug lines only when asked for, as in
// QT_LOGGING_RULES="velkaro.*.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcWebPanel) // "velkaro.webpanel": the web view plugin
Q_DECLARE_LOGGING_CATEGORY(lcOutsideLinks) // "velkaro.links": the browser for outside pages
// "velkaro.boxes": each box's caption and text as a debug line, for whoever reads what a
// user was shown (a support call, the end-to-end test) without looking at the screen.
Q_DECLARE_LOGGING_CATEGORY(lcBoxes)
