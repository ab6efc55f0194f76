#include "Dispatch.h"
#include "Exceptions.h"
#include "MensErro.h"
#include "UiTest.h"

#include <stdexcept>

using namespace Qt::StringLiterals;

namespace {

// A service whose error box itself fails.
class BrokenDialogs : public ScriptedDialogs {
public:
    void showError(const QString&) override { throw std::runtime_error("no display"); }
};

} // namespace

TEST(DispatchGuard, EachKindOfExceptionEndsTheActionAsDocumented)
{
    const struct {
        const char* name;
        std::function<void()> action;
        bool completed;
        QStringList errors;
        bool failure = true; // shown as a failure of the action, not as a complaint about what the user gave
    } cases[] = {
        {"completes", [] {}, true, {}},
        {"silent abort", [] { throw EAbort(); }, false, {}},
        {"host error", [] { throw EServerError(u"Imposto não cadastrado."_s); }, false, {u"Imposto não cadastrado."_s}},
        {"report refused: a complaint",
         [] { throw EReportRefused(u"Informe meses inteiros."_s); },
         false,
         {u"Informe meses inteiros."_s},
         false},
        {"standard exception, UTF-8",
         [] { throw std::runtime_error("Conexão recusada"); },
         false,
         {u"Conexão recusada"_s}},
        {"anything else", [] { throw 42; }, false, {u"Erro inesperado."_s}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedDialogs& dialogs = ScriptedDialogs::reset();
        EXPECT_EQ(Dispatch(c.action), c.completed);
        EXPECT_EQ(dialogs.texts(u"error"_s), c.errors) << "shown once, or not at all";
        EXPECT_EQ(dialogs.shown.size(), c.errors.size());
        for (const ScriptedDialogs::Shown& shown : dialogs.shown)
            EXPECT_EQ(shown.failure, c.failure);
    }
}

TEST(DispatchGuard, NothingEscapesEvenWhenTheErrorCannotBeShown)
{
    Dialogs::install(std::make_unique<BrokenDialogs>());
    EXPECT_FALSE(Dispatch([] { throw EHostError(u"x"_s); }));
    ScriptedDialogs::reset();
}

TEST(DispatchGuard, ExceptionFromAHandlerReachedThroughQtIsShownAndTheLoopGoesOn)
{
    ScriptedDialogs& dialogs = ScriptedDialogs::reset();
    int after = 0;
    QObject context;
    QMetaObject::invokeMethod(
        &context, [] { Dispatch([] { throw EDatabaseError(u"tabela ausente"_s); }); }, Qt::QueuedConnection);
    QMetaObject::invokeMethod(
        &context, [&] { ++after; }, Qt::QueuedConnection);
    QCoreApplication::processEvents();
    EXPECT_EQ(dialogs.texts(u"error"_s), QStringList{u"tabela ausente"_s});
    EXPECT_EQ(after, 1);
}

TEST(MensErroHelper, ShowsTheTextThenAbortsSilently)
{
    ScriptedDialogs& dialogs = ScriptedDialogs::reset();
    EXPECT_THROW(MensErro(u"Empresa deve ser informada."_s, true), EAbort);
    EXPECT_EQ(dialogs.texts(u"error"_s), QStringList{u"Empresa deve ser informada."_s});

    EXPECT_NO_THROW(MensErro(u"só aviso"_s, false));
    EXPECT_EQ(dialogs.texts(u"error"_s).size(), 2);

    SCOPED_TRACE("inside the guard: one message, no second one for the abort");
    dialogs.shown.clear();
    Dispatch([] { MensErro(u"Imposto deve ser informado."_s, true); });
    EXPECT_EQ(dialogs.texts(u"error"_s), QStringList{u"Imposto deve ser informado."_s});
}
