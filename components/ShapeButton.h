// A button drawn entirely from pictures: idle, hot (PicUp), pressed (PicDown) and disabled.
// It can cut itself to the shape of the idle picture (the top-left pixel's colour is left
// out), draw with that colour transparent, and repeat its click while held down.
#pragma once

#include <QImage>
#include <QList>
#include <QTimer>
#include <QWidget>

enum TPaintMode { pmNormal = 0, pmCrop = 1, pmTransparent = 2 };

class TShapeButton : public QWidget {
    Q_OBJECT
public:
    explicit TShapeButton(QWidget* parent = nullptr);

    // The button's own flag: a disabled button still reports the mouse but never clicks.
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    bool Disabled() const { return !FEnabled; }
    bool AutoRepeat() const { return FAutoRepeat; }
    void SetAutoRepeat(bool value);
    TPaintMode PaintMode() const { return FPaintMode; }
    void SetPaintMode(TPaintMode mode);

    const QImage& PicIdle() const { return FPicIdle; }
    void SetPicIdle(const QImage& picture);
    const QImage& PicUp() const { return FPicUp; }
    void SetPicUp(const QImage& picture);
    const QImage& PicDown() const { return FPicDown; }
    void SetPicDown(const QImage& picture);
    const QImage& PicDsbld() const { return FPicDsbld; }
    void SetPicDsbld(const QImage& picture);
    // Copies the images by index into idle, up, down, disabled (as many as there are).
    void SetImageList(const QList<QImage>& list);

    bool Hot() const { return FHot; }
    bool Pressed() const { return FPressed; }
    bool RegionApplied() const { return FRegionApplied; }
    // The picture the current state shows (null when there is none).
    const QImage& CurrentPicture() const;

    virtual void DoClick();

signals:
    void OnClick();
    void OnMouseDown(QPoint pos);
    void OnMouseUp(QPoint pos);
    void OnMouseEnter();
    void OnMouseLeave();
    void OnMouseMove(QPoint pos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void SetHot(bool hot);
    bool Inside(QPoint pos) const;
    void UpdateRepeatTimer();
    void BuildRegion();
    void RemoveRegion();
    void RebuildRegion();

    QTimer FRepeatTimer;
    bool FRegionApplied = false;
    bool FAutoRepeat = false;
    TPaintMode FPaintMode = pmNormal;
    bool FPressed = false;
    bool FHot = false;
    bool FEnabled = true;
    QImage FPicIdle, FPicDown, FPicDsbld, FPicUp;
    QList<QImage> FImageList;
};
