#pragma once

#include <QString>

// ISO 3166-1 alpha-2 code (lower case) of a mobile country code (ITU E.212);
// empty for an unknown MCC.
QString isoCountryForMcc(const QString& mcc);
