#include "matchers/DCalcMatch.h"

#include "foundation/Log.h"
#include "foundation/Shell.h"
#include "foundation/Strings.h"

#include <QProcessEnvironment>

using namespace Qt::StringLiterals;

namespace glimra {

DCalcMatch::DCalcMatch(const QString &calculator, ProgramRunner &runner)
    : MatcherObject(u"DCalcMatch"_s), m_calculator(calculator), m_runner(runner)
{
}

QString DCalcMatch::calculator()
{
    if (m_calculator.isNull()) {
        m_calculator = m_runner.find(u"bc"_s);
        if (m_calculator.isEmpty()) {
            m_calculator = u""_s; // looked up once, found or not
            qCInfo(lcMatchers).noquote() << u"bc is not on PATH: expressions are not calculated"_s;
        }
    }
    return m_calculator;
}

bool DCalcMatch::matches(Context &workingContext)
{
    if (!workingContext.contains(CTX_TEXT))
        return false;
    const QString value = workingContext.value(CTX_TEXT);
    QStringView text = QStringView(value).trimmed();
    if (text.size() >= 2 && text.startsWith(u'(') && text.endsWith(u')'))
        text = text.sliced(1, text.size() - 2);
    // Letters and commas: function names, variables, thousands separators. Never evaluated.
    if (glimra::matches(text, u"[a-z,A-Z]+"_s))
        return false;
    m_failure.clear();
    const QString program = calculator();
    if (program.isEmpty())
        return false;
    // bc breaks a long number over lines ending in "\" unless told its lines are
    // unlimited: a value pasted so would be two lines, and a line break.
    static const QStringList environment = [] {
        QProcessEnvironment ours = QProcessEnvironment::systemEnvironment();
        ours.insert(u"BC_LINE_LENGTH"_s, u"0"_s);
        return ours.toStringList();
    }();
    QString output = pipe_program(m_runner, u"scale=3\n%1\nquit\n"_s.arg(text), program, {u"-lq"_s},
                                  TimeBound, &m_failure, environment);
    if (output.isEmpty())
        return false;
    if (output.endsWith(u".000"_s))
        output.chop(4);
    if (output.startsWith(u'.'))
        output.prepend(u'0');
    workingContext.insert(ACT_TEXT, output);
    return true;
}

QString DCalcMatch::whyNot(const Context &workingContext) const
{
    if (!workingContext.contains(CTX_TEXT))
        return NoText.toString();
    if (glimra::matches(workingContext.value(CTX_TEXT), u"[a-z,A-Z]+"_s))
        return u"the text holds letters or commas, which are never calculated"_s;
    if (m_calculator.isEmpty())
        return u"bc is not on PATH"_s;
    if (!m_failure.isEmpty())
        return u"bc did not answer: %1"_s.arg(m_failure);
    return u"bc found no value in the text"_s;
}

} // namespace glimra
