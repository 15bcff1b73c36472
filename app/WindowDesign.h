#pragma once

#include <QString>

// Design values that both the window's construction and its handlers rely on.
namespace WindowDesign {

inline const QString caption = QStringLiteral("Quintaro v. 1.1");
constexpr int splitterWidth = 3;

} // namespace WindowDesign
