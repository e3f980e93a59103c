#include "stores/StoreLogging.h"

Q_LOGGING_CATEGORY(lcStore, "nookery.store", QtInfoMsg)
