#pragma once

#include <QPixmap>
#include <QString>

// A picture for a screen of this device pixel ratio: at 1 the picture itself; above, its @2x
// version drawn for scale 2, scaled down smoothly to the ratio when it is not 2 (1.25, 1.5, 1.75).
// The logical size is the same at every ratio. The @2x file is never read at 1.
QPixmap scaledPicture(const QString& path, qreal devicePixelRatio);
// Where the @2x version of path would be: pictures/x.jpg → pictures/x@2x.jpg.
QString doubledPath(const QString& path);
