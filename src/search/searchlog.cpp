#include "search/searchlog.h"

Q_LOGGING_CATEGORY(lcSearch, "velkaro.search", QtInfoMsg)
