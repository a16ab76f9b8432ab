// The fill's figures on Windows: the process's memory as the system counts
// it, the performance counter, and the process's environment variables.
#pragma once

#include "model/FillSchedule.h"

// One for the process: it holds nothing of a viewer.
corvelle::FillEnvironment& SystemFigures();
