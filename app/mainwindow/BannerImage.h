// The banner picture of the main window: shown whole at every width, scaled down with its
// proportions kept where the pane is narrower than the picture, never cut.
#pragma once

#include <QLabel>

class TBannerImage : public QLabel {
public:
    explicit TBannerImage(QWidget* parent = nullptr);

    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};
