// Qt's own texts (file dialogs, standard buttons, edit menus of text boxes) in the interface
// language: Qt's translation catalogue of that language, swapped whenever the language changes.
#pragma once

#include <QString>

#include <cstdint>

// The locale name of an interface language of LangItf.lng ("de" for German); empty for an id
// the program does not know.
QString QtLocaleName(std::int16_t languageId);

// Puts Qt's catalogue of the language (qtbase_<locale> in Qt's translations folder) in place of
// the one installed before. English, an unknown id or a missing catalogue leave Qt's texts
// English. True when a catalogue is installed.
bool InstallQtTranslation(std::int16_t languageId);
