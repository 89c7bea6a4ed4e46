// SPDX-License-Identifier: GPL-2.0-or-later
#include "tests/lumivex/geometryfixture.h"

#include "enhancer/imagefile.h"
#include "tests/support/testenv.h"

bool loadPhoto(const char* name, ImageRecord& image)
{
    return LoadImageFile(sharedTestData(QStringLiteral("photos/") + QString::fromUtf8(name)), image);
}
