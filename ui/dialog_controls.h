// The plain controls the dialogs place at dialog-unit rectangles: a button that never becomes
// the default one (Enter does nothing in these windows), a label with an optional id and a
// percentage bar whose figure the dialog shows in a label of its own.
#pragma once

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "ui/white_dialog.h"

namespace ui {

QPushButton* makeButton(WhiteDialog* dialog, const char* id, const QString& text, int x, int y, int w, int h);
// id may be null for a label no code refers to.
QLabel* makeLabel(WhiteDialog* dialog, const char* id, const QString& text, int x, int y, int w, int h);
QProgressBar* makePercentBar(WhiteDialog* dialog, const char* id, int x, int y, int w, int h);

}  // namespace ui
