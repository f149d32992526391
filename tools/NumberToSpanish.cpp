#include "tools/NumberWordTable.h"
#include "tools/NumberWords.h"

namespace {

struct TSpanishWords {
    std::vector<std::string> Small;     // 0..15 ("" for 0)
    std::vector<std::string> Tens;      // 0..9 by tens digit ("" for 0, "diez" for 1)
    std::vector<std::string> Hundreds;  // 0..9: "ciento ", "doscientos ", ... ("" for 0)
    std::string Hundred, MillionOne, Millions, Dieci, Veinti, Veintiun, And, AndOne, Thousand, Zero, Un;
};

const TSpanishWords& SpanishTable()
{
    static const TSpanishWords words{
        NumberWordTable({"", "uno", "dos", "tres", "cuatro", "cinco", "seis", "siete", "ocho", "nueve", "diez", "once",
                         "doce", "trece", "catorce", "quince"},
                        kWesternCodePage),
        NumberWordTable(
            {"", "diez", "veinte", "treinta", "cuarenta", "cincuenta", "sesenta", "setenta", "ochenta", "noventa"},
            kWesternCodePage),
        NumberWordTable({"", "ciento ", "doscientos ", "trescientos ", "cuatrocientos ", "quinientos ", "seiscientos ",
                         "setecientos ", "ochocientos ", "novecientos "},
                        kWesternCodePage),
        NumberWordBytes("cien", kWesternCodePage),
        NumberWordBytes("un millon ", kWesternCodePage),
        NumberWordBytes(" millones ", kWesternCodePage),
        NumberWordBytes("dieci", kWesternCodePage),
        NumberWordBytes("veinti", kWesternCodePage),
        NumberWordBytes("veintiun", kWesternCodePage),
        NumberWordBytes(" y ", kWesternCodePage),
        NumberWordBytes(" y un", kWesternCodePage),
        NumberWordBytes(" mil ", kWesternCodePage),
        NumberWordBytes("Cero", kWesternCodePage),
        NumberWordBytes("un", kWesternCodePage),
    };
    return words;
}

// Hundreds word of digit X before the lower digits P1, P2: "cien" only when both are 0.
std::string SpanishHundreds(int x, int p1, int p2)
{
    const TSpanishWords& w = SpanishTable();
    if (x == 1 && p1 == 0 && p2 == 0)
        return w.Hundred;
    return w.Hundreds[x];
}

// Two digits before " mil " or at the end; only a final one reads "uno": "veintiun mil ",
// "treinta y un mil " against "veintiuno", "treinta y uno".
std::string SpanishPair(int tens, int units, bool beforeThousand)
{
    const TSpanishWords& w = SpanishTable();
    switch (tens) {
    case 0:
        return w.Small[units];
    case 1:
        return units <= 5 ? w.Small[10 + units] : w.Dieci + w.Small[units];
    case 2:
        if (units == 0)
            return w.Tens[2];
        if (units == 1 && beforeThousand)
            return w.Veintiun;
        return w.Veinti + w.Small[units];
    default:
        if (units == 0)
            return w.Tens[tens];
        if (units == 1 && beforeThousand)
            return w.Tens[tens] + w.AndOne;
        return w.Tens[tens] + w.And + w.Small[units];
    }
}

}  // namespace

std::string NumberToSpanish(std::int32_t n)
{
    if (n < 0)
        throw EConvertError("NumWords - Debe Ser un Número Positivo!!");
    if (n > 999999999)
        throw EConvertError("NumWords - Lo siento, Esto es solo un entero ...");
    const TSpanishWords& w = SpanishTable();
    const int m = n / 1000000;
    const int a = n / 100000 % 10, b = n / 10000 % 10, c = n / 1000 % 10;
    const int d = n / 100 % 10, e = n / 10 % 10, f = n % 10;

    std::string result;
    if (m == 1)
        result = w.MillionOne;
    else if (m > 1)
        result = NumberToSpanish(m) + w.Millions;
    result += SpanishHundreds(a, b, c);
    if (b == 0 && c == 1) {
        // One thousand is " mil " alone; after a hundred it is "ciento un mil ".
        if (a > 0)
            result += w.Un;
    } else {
        result += SpanishPair(b, c, true);
    }
    if (a > 0 || b > 0 || c > 0)
        result += w.Thousand;
    result += SpanishHundreds(d, e, f);
    result += SpanishPair(e, f, false);
    return result.empty() ? w.Zero : result;
}
