// A flat progress bar drawn from an off-screen face image: a solid or block fill with an
// optional colour gradient and an optional percentage text. The face is rebuilt only when
// something visible changes; painting copies it.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QWidget>

#include <cstdint>

class TGradientProgress : public QWidget {
    Q_OBJECT
public:
    explicit TGradientProgress(QWidget* parent = nullptr);

    std::int32_t Maximum() const { return FMaximum; }
    void SetMaximum(std::int32_t value);
    std::int32_t Minimum() const { return FMinimum; }
    void SetMinimum(std::int32_t value);
    std::int32_t Position() const { return FPosition; }
    void SetPosition(std::int32_t value);
    std::int32_t Step() const { return FStep; }
    void SetStep(std::int32_t value) { FStep = value; }
    void StepIt();
    int Percentage() const;

    QColor Color() const { return FColor; }
    void SetColor(const QColor& value);
    QColor StartColor() const { return FStartColor; }
    void SetStartColor(const QColor& value);
    QColor EndColor() const { return FEndColor; }
    void SetEndColor(const QColor& value);
    bool Solid() const { return FSolid; }
    void SetSolid(bool value);
    bool GradientBlocks() const { return FGradientBlocks; }
    void SetGradientBlocks(bool value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    bool TextVisible() const { return FTextVisible; }
    void SetTextVisible(bool value);
    bool TextCentered() const { return FTextCentered; }
    void SetTextCentered(bool value);
    // The text is drawn in the widget's foreground colour (QPalette::WindowText).
    QFont TextFont() const { return FTextFont; }
    void SetTextFont(const QFont& value);
    QColor HintColor() const { return FHintColor; }
    void SetHintColor(const QColor& value) { FHintColor = value; }

    // Layout of the fill, for checks: width in pixels inside the frame, blocks.
    int FilledWidth() const { return FFilledWidth; }
    int BlockCount() const { return FBlockCount; }
    int BlockWidth() const { return FBlockWidth; }
    bool LastBlockPartial() const { return FLastBlockPartial; }
    int LastBlockWidth() const { return FLastBlockWidth; }

signals:
    void OnClick();
    void OnMouseEnter();
    void OnMouseLeave();
    void OnParentColorChange();

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void RangeChanged(int oldPercentage);
    void UpdateBlockLayout();
    void UpdateBuffer();
    QColor FaceColor() const;
    void DrawSolid(QImage& face) const;
    void DrawBlocks(QImage& face) const;
    void DrawText(QImage& face) const;

    QImage FFace;
    QColor FSavedHintColor;
    bool FHintSaved = false;
    int FFilledWidth = 0;
    bool FDirty = true;
    int FBlockCount = 0;
    int FBlockWidth = 0;
    bool FLastBlockPartial = false;
    int FLastBlockWidth = 0;

    std::int32_t FMaximum = 100;
    std::int32_t FMinimum = 0;
    std::int32_t FPosition = 0;
    std::int32_t FStep = 10;
    QColor FColor;
    QColor FStartColor{255, 255, 255};
    QColor FEndColor{0, 0, 0};
    bool FSolid = false;
    bool FGradientBlocks = false;
    bool FTransparent = false;
    bool FTextVisible = false;
    bool FTextCentered = false;
    QFont FTextFont;
    QColor FHintColor;
};
