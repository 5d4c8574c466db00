// SPDX-License-Identifier: GPL-3.0-or-later

#include "search/searchlog.h"

Q_LOGGING_CATEGORY(lcSearch, "velkaro.search", QtInfoMsg)
