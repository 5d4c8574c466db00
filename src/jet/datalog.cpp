#include "datalog.h"

Q_LOGGING_CATEGORY(lcData, "velkaro.data", QtInfoMsg)
