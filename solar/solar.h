#pragma once

// The whole interface of the solar geometry: sun position, day scan and year series.
#include "solar/constants.h"
#include "solar/day_events.h"
#include "solar/day_facts.h"
#include "solar/day_scan.h"
#include "solar/local_day.h"
#include "solar/moment.h"
#include "solar/numeric.h"
#include "solar/sparse_track.h"
#include "solar/sun_position.h"
#include "solar/types.h"
#include "solar/year_series.h"
