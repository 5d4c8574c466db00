// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLoggingCategory>

// "velkaro.search": what the desktop search service could not do. A D-Bus service has
// no window to say it in; its log goes where the session puts the bus's services' output.
Q_DECLARE_LOGGING_CATEGORY(lcSearch)
