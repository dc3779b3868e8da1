#pragma once

#include <QMap>

namespace glimra {

/// Adds every entry of `entries` to `dictionary`; the entries added win.
template <typename Map>
void mergeObjectsFromDictionary(Map &dictionary, const Map &entries)
{
    dictionary.insert(entries);
}

/// Replaces the element of `list` whose key (`keyOf`) equals that of `object` by `object`
/// in its place; appends `object` when there is none.
template <typename List, typename KeyOf>
void mergeObject(List &list, const typename List::value_type &object, KeyOf keyOf)
{
    const auto key = keyOf(object);
    for (auto &element : list) {
        if (keyOf(element) == key) {
            element = object;
            return;
        }
    }
    list.push_back(object);
}

/// mergeObject() for every element of `objects`, in order.
template <typename List, typename KeyOf>
void mergeObjectsFromArray(List &list, const List &objects, KeyOf keyOf)
{
    for (const auto &object : objects)
        mergeObject(list, object, keyOf);
}

} // namespace glimra
