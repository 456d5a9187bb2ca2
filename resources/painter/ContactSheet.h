// One picture showing every skin image at its own size, labelled with its ID and size.
#pragma once

#include <QImage>

#include <vector>

#include "SkinCatalog.h"

namespace vx::skin {

// Images narrower and lower than 40 pixels also appear four times enlarged beside themselves.
QImage MakeContactSheet(const std::vector<SkinImage>& images);

}  // namespace vx::skin
