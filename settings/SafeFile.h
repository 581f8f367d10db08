// Forwarding header: SafeFile lives with the other platform services.
#pragma once

#include "platform/core/SafeFile.h"
