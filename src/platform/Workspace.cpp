#include "platform/Workspace.h"

Workspace::~Workspace() = default;
