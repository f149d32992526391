#include "data/sample/TddOutput.h"

#include "data/tddwriter/TddWriter.h"

namespace SampleData {

void WriteMakersDictionary(TConvertedDictionary dictionary, const std::string& path)
{
    TddWriter::TTddWriter writer;
    for (TConvertedSection& section : dictionary.Sections) {
        const int number = writer.AddSection(section.Letter);
        for (std::size_t i = 0; i < section.Words.size(); ++i)
            writer.AddWord(number, std::move(section.Words[i]), std::move(section.Articles[i]));
        section = {};
    }
    writer.SetInfo(dictionary.Info);
    writer.SetDescription(dictionary.Description);
    writer.SetEdition(dictionary.Edition);
    writer.Write(path);
}

}  // namespace SampleData
