#pragma once

#include "AllSuites.h"

ASErr goAbout(SPInterfaceMessage* message);
