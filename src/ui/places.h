// Glue for the main window, which names the place table from ui; other code includes
// base/places.h.
#pragma once

#include "base/places.h"

namespace quorin::ui {

using base::City;
using base::Coordinates;
using base::kUnknownPlace;
using base::kUnknownProvince;
using base::ProvinceNames;
using base::ReadCities;

}  // namespace quorin::ui
