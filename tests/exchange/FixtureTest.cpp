#include <ExchangeFormat.h>

#include <QDir>

#include "ExchangeFiles.h"

namespace {

// Files as other programs wrote them (see files/README.md): how many records each gives, and
// the first and last of them in full.
struct Fixture {
    const char* file;
    std::size_t records;
    ArticleFields first;
    ArticleFields last;
    QStringList untaken = {};
};

const std::vector<Fixture> kFixtures{
    {"googlescholar.ris",
     10,
     {"3/2001", "Biological Reviews",
      "Did dinosaurs invent flowers? Dinosaur–angiosperm coevolution revisited", "411"},
     {"3654/2009", "American Museum Novitates",
      "A review of the Mongolian cretaceous dinosaur Saurornithoides (Troodontidae: Theropoda)",
      "1"}},
    {"extraneous-data.ris",
     2,
     {"3/2014", "Lorem", "Title of reference", "e0815"},
     {"3/2006", "Lorem", "The title of the reference", "e0815341"}},
    {"ovid-eric.ris",
     2,
     {"1/1989", "Journal of Geological Education", "Creationism and the Dinosaur Boom.", "24"},
     {"1/2017", "International Journal for Research on Extended Education",
      "Dinosaurs and Other Dangers: Navigational Play in a World of Trouble", "76"}},
    {"sciencedirect.ris",
     1,
     {"2016", "Acta Materialia",
      "Phase separation and ω transformation in binary V-Ti and ternary V-Ti-Cr alloys", "310"},
     {"2016", "Acta Materialia",
      "Phase separation and ω transformation in binary V-Ti and ternary V-Ti-Cr alloys", "310"}},
    {"aip.ris",
     1,
     {"4/2013", "J. Chem. Phys.", "Length scales and interfacial potentials in ion hydration",
      "044504"},
     {"4/2013", "J. Chem. Phys.", "Length scales and interfacial potentials in ion hydration",
      "044504"}},
    {"cellpress.ris",
     1,
     {"2/2016", "Neuron", "Grid Cells for Conceptual Spaces?", "280"},
     {"2/2016", "Neuron", "Grid Cells for Conceptual Spaces?", "280"}},
    {"crcpress-chapter.ris",
     1,
     {"", "",
      "Toward a Robust Analysis of Dermoscopy Images Acquired under Different        Conditions",
      ""},
     {"", "",
      "Toward a Robust Analysis of Dermoscopy Images Acquired under Different        Conditions",
      ""}},
    {"scopus.ris",
     1,
     {"1/2024", "Nature Communications",
      "Global latitudinal gradients and the evolution of body size in dinosaurs and mammals",
      "2864"},
     {"1/2024", "Nature Communications",
      "Global latitudinal gradients and the evolution of body size in dinosaurs and mammals",
      "2864"}},
    {"webofscience.ris",
     3,
     {"9/2010", "PLOS ONE",
      "New Horned Dinosaurs from Utah Provide Evidence for Intracontinental Dinosaur Endemism",
      "e12292"},
     {"4/2016", "VICTORIAN LITERATURE AND CULTURE", "DICKENS, DINOSAURS, AND DESIGN", "761"}},
    {"endnote.txt",
     1,
     {"5/2016", "Annals of hematology",
      "Prognostic value of pretransplant FDG-PET in refractory/relapsed Hodgkin lymphoma treated "
      "with autologous stem cell transplantation: systematic review and meta-analysis",
      "695-706"},
     {"5/2016", "Annals of hematology",
      "Prognostic value of pretransplant FDG-PET in refractory/relapsed Hodgkin lymphoma treated "
      "with autologous stem cell transplantation: systematic review and meta-analysis",
      "695-706"}},
    {"pubmed.csv",
     10,
     {"2020", "Eur J Med Genet", "Time lapse: A glimpse into prehistoric genomics", ""},
     {"2022", "Proc Natl Acad Sci U S A",
      "Low dinosaur biodiversity in central China 2 million years prior to the end-Cretaceous "
      "mass extinction",
      ""},
     {"PMID", "Authors", "Citation", "First Author", "Create Date", "PMCID", "DOI"}},
    {"datum-titel-autor.csv",
     2,
     {"1996", "", "Fünf 17-Zoll-Monitore im Test", ""},
     {"1997", "", "Drucker; Scanner und Modems", ""},
     {"Autor"}},
    {"zotero-german.bib",
     2,
     {"1990", "Sozialpolitik und Sozialstaat: Soziologische Analysen",
      "Sozialpolitik und Bevölkerungsprozeß", "145"},
     {"1997", "Sozialpolitik und Sozialstaat: Soziologische Analysen",
      "Schwindet die integrative Funktion des Sozialstaates?", "241"}},
    {"zotero-proceedings.bib",
     1,
     {"2011", "Proceedings of the VLDB Endowment",
      "Fast Sparse Matrix-Vector Multiplication on GPUs: Implications for Graph Mining", "231"},
     {"2011", "Proceedings of the VLDB Endowment",
      "Fast Sparse Matrix-Vector Multiplication on GPUs: Implications for Graph Mining", "231"}},
    {"jabref-scopus.bib",
     1,
     {"10/2004", "Journal of the Mechanics and Physics of Solids",
      "A transversely isotropic composite with a statistical distribution of spheroidal "
      "inclusions: A geometrical approach to overall properties",
      "2309"},
     {"10/2004", "Journal of the Mechanics and Physics of Solids",
      "A transversely isotropic composite with a statistical distribution of spheroidal "
      "inclusions: A geometrical approach to overall properties",
      "2309"}},
    {"jabref-umlaut.bib", 1, {"", "", "Ü ist ein Umlaut", ""}, {"", "", "Ü ist ein Umlaut", ""}},
};

using FixtureTest = ExchangeFiles;

TEST_F(FixtureTest, FilesOfOtherProgramsGiveTheirRecords) {
    for (const Fixture& fixture : kFixtures) {
        SCOPED_TRACE(fixture.file);
        const QString path = QDir(QStringLiteral(PERIOLEX_EXCHANGE_FILES)).filePath(fixture.file);
        std::unique_ptr<RecordReader> reader;
        std::vector<ArticleFields> records;
        try {
            reader = OpenRecordReader(path);
            records = ReadAll(*reader);
        } catch (const ExchangeError& e) {
            ADD_FAILURE() << e.Message().toStdString();
            continue;
        }
        ASSERT_EQ(records.size(), fixture.records);
        EXPECT_EQ(records.front(), fixture.first);
        EXPECT_EQ(records.back(), fixture.last);
        if (!fixture.untaken.isEmpty()) {
            EXPECT_EQ(reader->UntakenColumns(), fixture.untaken);
        }
    }
}

}  // namespace
