// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLoggingCategory>

// "velkaro.data": why a file was refused, with the page and row, for whoever reads the
// log after a user's "damaged" box.
Q_DECLARE_LOGGING_CATEGORY(lcData)
