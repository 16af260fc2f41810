#pragma once

// QCustomPlot's header uses the bare Qt keywords (signals, slots, emit, foreach), which the
// project switches off; include it through this header only.
#define signals Q_SIGNALS
#define slots Q_SLOTS
#define emit Q_EMIT
#define foreach Q_FOREACH
#include <qcustomplot.h>
#undef signals
#undef slots
#undef emit
#undef foreach
