// Report writer: the row formats, -w suppression and counting, the "?"
// expected text, escaping of data texts, and the end of the run.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "report_capture.h"
#include "src/report/catalogue.h"
#include "src/report/report.h"
#include "src/state/run_state.h"
#include "src/xml/cp1250.h"

using namespace quelt;
using quelt::test::ReportCapture;

TEST(Report, SemicolonRowOfAHeaderFinding) {
    ReportCapture report('C');
    EXPECT_EQ(zpracuj_chybu("12", "EL031", "ICOpredkladatele", "12345678", "   "), 1);
    EXPECT_EQ(report.text(), "12;EL031;;;ICOpredkladatele;12345678;   ;Neplatn\xE9 I\xC8O.\n");
    EXPECT_EQ(sumchybE, 1);
    EXPECT_EQ(EtabNum[find_code("EL031")], 1);
}

TEST(Report, QuestionMarkTakesTheCatalogueText) {
    ReportCapture report('C');
    zpracuj_chybu("3", "ER209", "rok", "2011", "?anything");
    zpracuj_chybu("4", "ES017", "AA0017", "x", "?");     // empty expected text in the catalogue
    zpracuj_chybu("5", "ER125", "AA0017", "x", "?");     // code in no row
    const auto rows = report.rows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], "3;ER209;;;rok;2011;2010;Povoleno 2010, d\xE9lka  4");
    EXPECT_EQ(rows[1], "4;ES017;;;AA0017;x;;Chybn\xE1 hodnota nebo d\xE9lka");
    EXPECT_EQ(rows[2], "5;ER125;;;AA0017;x;KoNeC;KoNeC");
    EXPECT_EQ(sumchybE, 3);
    EXPECT_EQ(EtabNum[kCodeRows], 0);  // the end row never counts
}

TEST(Report, SuppressedWarningsCountOnlyInTheTotal) {
    ReportCapture report('C');
    sw_nepisW = 'A';
    EXPECT_EQ(zpracuj_chybu("1", "WL054", "AA0113", "x", "   "), 0);
    EXPECT_EQ(zpracuj_chybu("1", "WSTEL", "telefon", "x", "?"), 0);
    EXPECT_EQ(zpracuj_chybu("1", "EL050", "AA0110", "x", "   "), 1);
    EXPECT_EQ(sumchybW, 2);
    EXPECT_EQ(sumchybE, 1);
    EXPECT_EQ(EtabNum[find_code("WL054")], 0);
    EXPECT_EQ(report.rows().size(), 1u);
}

TEST(Report, TextRowsArePaddedNeverCut) {
    ReportCapture report('T');
    set_telicokod("12345679/ABCDEFGHIJ");
    set_identnec("0123456789A");
    zpracuj_chybu("7", "ES301", "AA0999", "5", "1");
    EXPECT_EQ(report.text(), std::string("        7  ES301 12345679/ABCDEFGHIJ  0123456789A  AA0999           5           1  ") +
                                 "                 Neznam\xFD prvek\n");
}

TEST(Report, HtmlRowsBoldErrorsOnly) {
    ReportCapture report('H');
    zpracuj_chybu("1", "ES301", "x", "y", "z");
    zpracuj_chybu("2", "WL054", "x", "y", "z");
    const std::string t = report.text();
    EXPECT_NE(t.find("<td><b>&nbsp;ES301</b></td>"), std::string::npos);
    EXPECT_NE(t.find("<td>&nbsp;WL054</td>"), std::string::npos);
    EXPECT_EQ(t.find("</tr>"), std::string::npos);  // rows are not closed
}

TEST(Report, XmlRowInFourWrites) {
    ReportCapture report('X');
    zpracuj_chybu("9", "EL050", "AA0110", "20100229", "   ");
    EXPECT_EQ(report.text(),
              "<Chyba>\n<Radek>9</Radek>\n<KodChyby>EL050</KodChyby>\n"
              "<Zamestnavatel></Zamestnavatel>\n<Zamestnanec></Zamestnanec>\n"
              "<Prvek>AA0110</Prvek>\n<Hodnota>20100229</Hodnota>\n" +
                  std::string("<DelkaHodn>   </DelkaHodn>\n<Popis>") +
                  "Neplatné datum - den neodpovídá měsíci"_cp + "</Popis>\n</Chyba>\n");
}

TEST(Report, MarkupIsEscapedInDataTexts) {
    ReportCapture report('X');
    zpracuj_chybu("1", "WL007", "AA0132", "a&b &amp; &#38; &#x26; &#; &lt &#xf; &#xAF; &#x1 &#x", " <= 1872");
    const std::string t = report.text();
    EXPECT_NE(t.find("<Hodnota>a&amp;b &amp; &#38; &#x26; &amp;#; &amp;lt &#xf; &#xAF; &amp;#x1 &amp;#x</Hodnota>"),
              std::string::npos);
    EXPECT_NE(t.find("<DelkaHodn> &lt;= 1872</DelkaHodn>"), std::string::npos);
}

TEST(Report, HtmlEscapesTooButTextDoesNot) {
    {
        ReportCapture report('H');
        zpracuj_chybu("1", "WL007", "<b>", "x>y", "   ");
        EXPECT_NE(report.text().find("<td>&nbsp;&lt;b></td>"), std::string::npos);
    }
    {
        ReportCapture report('T');
        zpracuj_chybu("1", "WL007", "<b>", "&", "   ");
        EXPECT_NE(report.text().find("<b>"), std::string::npos);
    }
}

TEST(Report, SemicolonFieldsWithSeparatorsAreQuoted) {
    ReportCapture report('C');
    zpracuj_chybu("4", "WL009", "AA0132; AA0133;", "say \"hi\"", "   ");
    EXPECT_EQ(report.rows()[0],
              std::string("4;WL009;;;\"AA0132; AA0133;\";\"say \"\"hi\"\"\";   ;") +
                  "Průměrný evid. stav přep. krát počet proplacených hodin bez přesčasů "
                  "neodpovídá celkovému počtu hodin v daném období"_cp);
}
