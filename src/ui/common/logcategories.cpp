// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/common/logcategories.h"

Q_LOGGING_CATEGORY(lcWebPanel, "velkaro.webpanel", QtInfoMsg)
Q_LOGGING_CATEGORY(lcOutsideLinks, "velkaro.links", QtInfoMsg)
Q_LOGGING_CATEGORY(lcBoxes, "velkaro.boxes", QtInfoMsg)
