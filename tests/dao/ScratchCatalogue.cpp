#include "ScratchCatalogue.h"

#include "ScratchDatabase.h"
#include "server/ServerCatalogue.h"

namespace {

std::string Articles(int articles) {
    return "INSERT INTO Zeitschriften (ID, Zeitschriftennummer, Zeitschriftenname, Artikelname,"
           " Seite) SELECT i, i, 'Heft', 'Artikel ' || i, i * 10 FROM (WITH RECURSIVE n(i) AS"
           " (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
           std::to_string(articles) + ") SELECT i FROM n WHERE i <= " + std::to_string(articles) +
           ") AS numbers";
}

class FileCatalogue : public ScratchCatalogue {
public:
    std::string Target() const override { return m_file.Path(); }
    void Exec(const std::string& sql) override { m_file.Exec(sql); }
    std::string Scalar(const std::string& sql) override { return m_file.Scalar(sql); }
    void PrepareForFork() override { m_file.Disconnect(); }

private:
    ScratchDatabase m_file;
};

}  // namespace

std::unique_ptr<ScratchCatalogue> MakeFileCatalogue(int articles) {
    auto catalogue = std::make_unique<FileCatalogue>();
    if (articles > 0) {
        catalogue->Exec(Articles(articles));
    }
    return catalogue;
}

std::unique_ptr<ScratchCatalogue> MakeServerCatalogue(int articles) {
    std::unique_ptr<ServerCatalogue> catalogue = ServerCatalogue::Make();
    if (catalogue && articles > 0) {
        catalogue->Exec(Articles(articles));
    }
    return catalogue;
}
