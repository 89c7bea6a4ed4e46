// SPDX-License-Identifier: GPL-2.0-or-later
// Damaged project files: valid files of both formats, cut short and mutated in many ways,
// are read again and again. Each must give a result code, never a crash or a hang.
#include <random>

#include "album/legacyprojectreader.h"
#include "album/projectxmlreader.h"
#include "tests/album/legacyfile.h"
#include "tests/album/projectfixture.h"

namespace
{

// Answers every question with No, so missing photos are left out without a chooser.
class RefusingPrompter : public Prompter
{
public:
    Answer ask(const QString&, Buttons, Answer, Icon) override
    {
        ++questions;
        return Answer::No;
    }
    void message(const QString&, Icon) override {}
    int questions = 0;
};

// Cuts, flips, overwrites, repeats, drops and inserts bytes, the same way on every run.
std::vector<QByteArray> damaged(const QByteArray& valid, int count, unsigned seed)
{
    std::mt19937 random(seed);
    auto below = [&](qsizetype n) { return n <= 0 ? qsizetype(0) : qsizetype(random() % n); };
    const char interesting[] = {'\0', '\xff', '<', '>', '"', '\n', '\x87', '\x12', '&', '\x7f'};
    std::vector<QByteArray> corpus;
    for (int i = 0; i < count; ++i) {
        QByteArray bytes = valid;
        const int edits = 1 + int(random() % 4);
        for (int e = 0; e < edits && !bytes.isEmpty(); ++e) {
            const qsizetype at = below(bytes.size());
            switch (random() % 6) {
            case 0:
                bytes.truncate(at);
                break;
            case 1:
                bytes[at] = char(bytes[at] ^ (1 << (random() % 8)));
                break;
            case 2:
                bytes[at] = interesting[random() % sizeof interesting];
                break;
            case 3:
                bytes.insert(at, bytes.mid(below(bytes.size()), 1 + below(64)));
                break;
            case 4:
                bytes.remove(at, 1 + below(64));
                break;
            default:
                bytes.insert(at, QByteArray(1 + int(below(8)), char(random())));
                break;
            }
        }
        corpus.push_back(bytes);
    }
    for (qsizetype length = 0; length < valid.size(); length += 1 + valid.size() / 97)
        corpus.push_back(valid.left(length));
    return corpus;
}

class Replay : public ProjectTest
{
protected:
    // A saved album of the current format with every kind of parameter and a few photos.
    QByteArray validXml()
    {
        addImage("a.jpg", "A", "sub");
        addImage("b.jpg", "B & \"b\"");
        album.Images()[1].description = "two\r\nlines";
        userValue("Title").text = "Replayed";
        userValue("TitleFont").font->logFont.lfWeight = 100;
        userValue("Columns").number = 3;
        EXPECT_EQ(projectFile(album).WriteProject(path("valid.gvp").c_str()), GV_OK);
        return fileBytes(work.file("valid.gvp"));
    }

    // Opens each file of the corpus in one album; returns how many opened.
    int openAll(const std::vector<QByteArray>& corpus, bool ask)
    {
        auto target = freshAlbum();
        RefusingPrompter refusing;
        ProjectFile file(*target, refusing, choosers);
        file.SetImageSearch(search);
        int opened = 0;
        for (size_t i = 0; i < corpus.size(); ++i) {
            work.write("damaged.gvp", corpus[i]);
            const ResultCode result = file.OpenProject(path("damaged.gvp").c_str(), ask);
            EXPECT_TRUE(result == GV_OK || result == GV_E_READFILE || result == GV_E_CORRUPTED ||
                        result == GV_E_NOTIMPL)
                << "file " << i << " gave " << result;
            EXPECT_EQ(target->HasProjectFile(), result == GV_OK);
            opened += result == GV_OK;
        }
        return opened;
    }
};

} // namespace

TEST_F(Replay, DamagedXmlProjects)
{
    const QByteArray valid = validXml();
    std::vector<QByteArray> corpus = damaged(valid, 400, 20240601);
    for (const QByteArray& bytes : corpus) {
        SavedProject project;
        ProjectXmlReader::Parse(bytes.constData(), size_t(bytes.size()), project);
    }
    corpus.resize(250);
    const int opened = openAll(corpus, true);
    // Damage inside attribute values still leaves a project; damage to its shape does not.
    EXPECT_GT(opened, 0);
    EXPECT_LT(opened, 250);
}

TEST_F(Replay, DamagedOlderProjects)
{
    for (uint32_t version : {2u, 6u, 10u})
        for (TextForm form : {TextForm::Marked, TextForm::Line}) {
            SCOPED_TRACE(version);
            LegacyContent content = LegacyContent::typical(work.path());
            content.version = version;
            content.form = form;
            content.thumbnail =
                version == 6 ? LegacyContent::Thumbnail::Dib : LegacyContent::Thumbnail::Argb;
            const std::vector<QByteArray> corpus =
                damaged(content.bytes(), 300, version * 7 + int(form));
            for (const QByteArray& bytes : corpus) {
                LegacyProject project;
                const ResultCode result =
                    LegacyProjectReader(bytes.constData(), size_t(bytes.size())).Read(project);
                EXPECT_TRUE(result == GV_OK || result == GV_E_READFILE ||
                            result == GV_E_CORRUPTED || result == GV_E_NOTIMPL);
            }
            openAll(std::vector<QByteArray>(corpus.begin(), corpus.begin() + 60), version != 6);
        }
}

TEST(ReplayBytes, ParsersTakeAnyBytes)
{
    std::mt19937 random(7);
    for (int i = 0; i < 2000; ++i) {
        QByteArray bytes(qsizetype(random() % 300), '\0');
        for (char& c : bytes)
            c = char(random());
        if (i % 2 == 0 && bytes.size() >= 20) { // mostly past the header check
            bytes[4] = 20;
            bytes[5] = 0;
            bytes[8] = char(random() % 11);
            bytes[9] = bytes[10] = bytes[11] = 0;
        }
        LegacyProject legacy;
        LegacyProjectReader(bytes.constData(), size_t(bytes.size())).Read(legacy);
        SavedProject saved;
        ProjectXmlReader::Parse(bytes.constData(), size_t(bytes.size()), saved);
    }
    SavedProject saved;
    EXPECT_FALSE(ProjectXmlReader::Parse(nullptr, 0, saved));
    LegacyProject legacy;
    EXPECT_EQ(LegacyProjectReader(nullptr, 100).Read(legacy), GV_E_READFILE);
    // Elements nested far deeper than any project are refused, not recursed into.
    const QByteArray deep = QByteArray("<project>") + QByteArray("<a>").repeated(100000);
    EXPECT_FALSE(ProjectXmlReader::Parse(deep.constData(), size_t(deep.size()), saved));
}
