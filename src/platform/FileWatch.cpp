#include "platform/FileWatch.h"

FileWatch::~FileWatch() = default;
