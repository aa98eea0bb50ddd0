// The program's own pictures: the window icon and the picture of the About dialog, both a
// small bull's-eye in the colours of the count scale, drawn here rather than shipped.
#pragma once

#include <QIcon>
#include <QImage>

// 32 x 32.
QIcon MakeProgramIcon();
// 72 x 67.
QImage MakeAboutPicture();
