#pragma once

#include <QPainter>
#include <QRectF>

namespace tilava::skin {

// The flag of Slovakia: white, blue and red stripes with the coat of arms (a white double cross
// on the middle of three blue hills in a red shield, bordered white) toward the hoist; the shield
// is half the flag's height and as far from the top, the bottom and the hoist.
void FlagSK(QPainter& p, const QRectF& box);

// The flag of the Czech Republic: white over red with a blue triangle at the hoist reaching half
// the flag's length.
void FlagCZ(QPainter& p, const QRectF& box);

} // namespace tilava::skin
