#include "app/RecentGuesses.h"

namespace glimra {

void RecentGuesses::add(Entry entry)
{
    m_entries.prepend(std::move(entry));
    if (m_entries.size() > Kept)
        m_entries.resize(Kept);
}

} // namespace glimra
