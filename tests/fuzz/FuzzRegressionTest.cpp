#include "TestEnvironment.h"

#include <QDirIterator>
#include <QFile>

#include <cstdint>

using namespace Qt::StringLiterals;

// The fuzz targets' entry functions, each compiled here under its own name.
extern "C" {
int glimraFuzz_predicate(const uint8_t *data, size_t size);
int glimraFuzz_url(const uint8_t *data, size_t size);
int glimraFuzz_regexp_template(const uint8_t *data, size_t size);
int glimraFuzz_shell_output(const uint8_t *data, size_t size);
int glimraFuzz_handler_json(const uint8_t *data, size_t size);
int glimraFuzz_settings(const uint8_t *data, size_t size);
int glimraFuzz_window_facts(const uint8_t *data, size_t size);
int glimraFuzz_trace_lines(const uint8_t *data, size_t size);
}

namespace {

struct FuzzTarget
{
    const char *name;
    int (*entry)(const uint8_t *data, size_t size);
};

const FuzzTarget targets[] = {
    {"predicate", glimraFuzz_predicate},
    {"url", glimraFuzz_url},
    {"regexp_template", glimraFuzz_regexp_template},
    {"shell_output", glimraFuzz_shell_output},
    {"handler_json", glimraFuzz_handler_json},
    {"settings", glimraFuzz_settings},
    {"window_facts", glimraFuzz_window_facts},
    {"trace_lines", glimraFuzz_trace_lines},
};

// Names the parameter in the test list, which otherwise shows its bytes.
void PrintTo(const FuzzTarget &target, std::ostream *out)
{
    *out << target.name;
}

class FuzzRegressions : public glimra::test::IsolatedTest,
                        public ::testing::WithParamInterface<FuzzTarget>
{
};

} // namespace

// The seeds and every input that once crashed a target, run as the fuzzer runs them; a
// property a target checks aborts the test as it aborts the fuzzer.
TEST_P(FuzzRegressions, EveryStoredInputRunsCleanly)
{
    const QString folder = QStringLiteral(GLIMRA_FUZZ_CORPUS) + u'/'
        + QString::fromLatin1(GetParam().name);
    QDirIterator files(folder, QDir::Files, QDirIterator::Subdirectories);
    int count = 0;
    while (files.hasNext()) {
        QFile file(files.next());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
        const QByteArray input = file.readAll();
        EXPECT_EQ(GetParam().entry(reinterpret_cast<const uint8_t *>(input.constData()),
                                   size_t(input.size())),
                  0)
            << file.fileName().toStdString();
        ++count;
    }
    EXPECT_GT(count, 0) << "no inputs in " << folder.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzRegressions, ::testing::ValuesIn(targets),
                         [](const auto &target) { return std::string(target.param.name); });
