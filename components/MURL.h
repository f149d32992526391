// The Unicode link label: the alphabet bar's letters, the learning window's links and the
// hangman keyboard. Carries the letter a letter link stands for (LetterKey).
#pragma once

#include "components/CustomMURL.h"

class TMURL : public TCustomMURL {
    Q_OBJECT
public:
    explicit TMURL(QWidget* parent = nullptr);

    char16_t LetterKey() const { return FLetterKey; }
    void SetLetterKey(char16_t key) { FLetterKey = key; }

private:
    char16_t FLetterKey = u' ';
};
