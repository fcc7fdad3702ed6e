#include "replay/ui/TPropListBox.h"

#include <algorithm>

TPropListBox::TPropListBox(QWidget* parent) : QListWidget(parent) {
    setFont(PropFont(logicalDpiY()));
}

int TPropListBox::FontPixelHeight(int points, int logicalDpiY) {
    const int64_t product = int64_t(points) * logicalDpiY;
    const int64_t half = product >= 0 ? 36 : -36;
    return int((product + half) / 72);
}

QFont TPropListBox::PropFont(int logicalDpiY) {
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize(std::max(1, FontPixelHeight(8, logicalDpiY)));
    font.setWeight(QFont::Normal);
    return font;
}

std::vector<int> TPropListBox::SelectedRows() const {
    std::vector<int> rows;
    for (int row = 0; row < count(); ++row)
        if (item(row)->isSelected()) rows.push_back(row);
    return rows;
}
