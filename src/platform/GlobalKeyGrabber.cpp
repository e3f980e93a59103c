#include "platform/GlobalKeyGrabber.h"

GlobalKeyGrabber::~GlobalKeyGrabber() = default;
