#include "platform/FileWatcher.h"

FileWatcher::~FileWatcher() = default;
