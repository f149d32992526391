// The 8-bit link label: its caption is text in the system code page (the About box's web
// address). Set the caption with SetCaption; the label shows it converted to Unicode.
#pragma once

#include "components/CustomMURL.h"

#include <string>

class TMURLStr : public TCustomMURL {
    Q_OBJECT
public:
    explicit TMURLStr(QWidget* parent = nullptr);

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& caption);

protected:
    QString LinkText() const override;

private:
    std::string FCaption;
};
