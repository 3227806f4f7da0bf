// Font heights of texts and table columns: lfHeight is minus the character height in tenths of a
// page unit. Conversions to points round to half points.
#pragma once

#include "model/PageMapper.h"
#include "platform/LogFont.h"

class Archive;

int PointsToFontHeight(double points);
double FontHeightToPoints(int height);

// The font for drawing on a device: lfHeight becomes minus the device character height.
LOGFONTA CreateElementFont(const LOGFONTA& font, const CPageMapper& mapper);

LOGFONTA DefaultTextFont();    // -160 (19 pt), weight 400, Arial
LOGFONTA DefaultColumnFont();  // -80 (9.5 pt), weight 400, Arial

// The font record of the stream's format version: field by field since 4712, the raw 60-byte
// record before. Reading cuts the face name to 31 bytes in either form.
void WriteFont(Archive& ar, const LOGFONTA& font);
LOGFONTA ReadFont(Archive& ar);
