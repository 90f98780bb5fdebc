#pragma once
// The alarm banners of the race screen: white on red over the race rows, so
// nobody can miss them (the decoder link's, the race journal's).

#include <QFont>
#include <QLabel>

#include <string>

namespace kesto {

// A hidden banner named `objectName`; its place is the window's to set.
QLabel* MakeAlarmBanner(QWidget* parent, const char* objectName, const QFont& font);

// Puts `text` up on the banner, over the rows.
void ShowAlarmBanner(QLabel* banner, const std::string& text);

} // namespace kesto
