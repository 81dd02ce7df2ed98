#include "qt/QtTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <algorithm>

namespace {

bool IsLanguageCode(const std::string& code)
{
    return !code.empty() && code.size() <= CQtTranslation::kMaxCodeLength
        && std::all_of(code.begin(), code.end(),
            [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; });
}

} // namespace

CQtTranslation::CQtTranslation() = default;

CQtTranslation::~CQtTranslation()
{
    Remove();
}

void CQtTranslation::Load(const std::string& code)
{
    Remove();
    if (!IsLanguageCode(code))
        return;
    auto translator = std::make_unique<QTranslator>();
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!translator->load(QStringLiteral("qtbase_") + QString::fromLatin1(code), folder))
        return;
    QCoreApplication::installTranslator(translator.get());
    m_pTranslator = std::move(translator);
}

void CQtTranslation::Remove()
{
    if (m_pTranslator)
        QCoreApplication::removeTranslator(m_pTranslator.get());
    m_pTranslator.reset();
}
