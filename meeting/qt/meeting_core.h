#pragma once
// The meeting's Qt-free core for code that also sees Qt: Qt's `slots` keyword
// macro would eat the member Heat::slots, so the core's headers are read
// without it. A source that uses Heat::slots after its Qt includes says
// `#undef slots` below them (moc reads only the headers).

#pragma push_macro("slots")
#undef slots
#include "meeting/finals.h"
#include "meeting/heat_load.h"
#include "meeting/heat_planning.h"
#include "meeting/heat_results.h"
#include "meeting/meeting.h"
#include "meeting/meeting_desk.h"
#include "meeting/meeting_file.h"
#include "meeting/qualifying_standings.h"
#include "meeting/standings_report.h"
#pragma pop_macro("slots")
