#include "platform/AutostartService.h"

AutostartService::~AutostartService() = default;
