// A panel drawn as a flat coloured box with a one-pixel border, an optional title strip
// with the caption, and an optional background picture drawn at (1, 1).
#pragma once

#include "platform/qt/Colors.h"

#include <QImage>
#include <QString>
#include <QWidget>

class TMBox : public QWidget {
    Q_OBJECT
public:
    explicit TMBox(QWidget* parent = nullptr);

    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor value);
    TColor TitleColor() const { return FTitleColor; }
    void SetTitleColor(TColor value);
    // Takes effect at the next repaint.
    bool ShowTitle() const { return FShowTitle; }
    void SetShowTitle(bool value) { FShowTitle = value; }

    QString Caption() const { return FCaption; }
    void SetCaption(const QString& caption);

    // The box keeps its own copy; a null image changes nothing. Does not repaint by itself.
    const QImage& BackImage() const { return FBackImage; }
    void SetBackImage(const QImage& image);

    // Stored flags the windows set; the drawing does not depend on them.
    bool Background() const { return FBackground; }
    void SetBackground(bool value);
    bool AdvancedDrow() const { return FAdvancedDrow; }
    void SetAdvancedDrow(bool value) { FAdvancedDrow = value; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TColor FColor = clInfoBk;
    TColor FBorderColor = clBlue;
    TColor FTitleColor = clBtnFace;
    bool FShowTitle = false;
    bool FBackground = false;
    bool FAdvancedDrow = false;
    QString FCaption;
    QImage FBackImage;
};
