#pragma once

#include <QtGlobal>

// GLIMRA_DATA_CONTROL_PROTOCOL(TYPE, PREFIX, MAXIMUM, PRIMARY) defines the struct TYPE that
// names the interfaces and requests of a data control protocol whose interfaces are
// PREFIX_manager_v1, PREFIX_device_v1, PREFIX_offer_v1 and PREFIX_source_v1, bound up to
// version MAXIMUM and offering PRIMARY from version PRIMARY on. The wlroots protocol and the
// one that replaced it differ only in these names, so DataControlDevice is written once
// over such a struct.
#define GLIMRA_DATA_CONTROL_PROTOCOL(TYPE, PREFIX, MAXIMUM, PRIMARY)                          \
    struct TYPE                                                                               \
    {                                                                                         \
        using Manager = PREFIX##_manager_v1;                                                  \
        using Device = PREFIX##_device_v1;                                                    \
        using Offer = PREFIX##_offer_v1;                                                      \
        using Source = PREFIX##_source_v1;                                                    \
        using DeviceListener = PREFIX##_device_v1_listener;                                   \
        using OfferListener = PREFIX##_offer_v1_listener;                                     \
        using SourceListener = PREFIX##_source_v1_listener;                                   \
        static constexpr const char *managerName = #PREFIX "_manager_v1";                    \
        static constexpr quint32 maximumVersion = MAXIMUM;                                    \
        static constexpr quint32 primaryVersion = PRIMARY;                                    \
        static const wl_interface *managerInterface() { return &PREFIX##_manager_v1_interface; } \
        static Device *getDevice(Manager *manager, wl_seat *seat)                             \
        {                                                                                     \
            return PREFIX##_manager_v1_get_data_device(manager, seat);                        \
        }                                                                                     \
        static Source *createSource(Manager *manager)                                         \
        {                                                                                     \
            return PREFIX##_manager_v1_create_data_source(manager);                           \
        }                                                                                     \
        static void addListener(Device *device, const DeviceListener *listener, void *data)  \
        {                                                                                     \
            PREFIX##_device_v1_add_listener(device, listener, data);                          \
        }                                                                                     \
        static void addListener(Offer *offer, const OfferListener *listener, void *data)     \
        {                                                                                     \
            PREFIX##_offer_v1_add_listener(offer, listener, data);                            \
        }                                                                                     \
        static void addListener(Source *source, const SourceListener *listener, void *data)  \
        {                                                                                     \
            PREFIX##_source_v1_add_listener(source, listener, data);                          \
        }                                                                                     \
        static void receive(Offer *offer, const char *type, int fd)                           \
        {                                                                                     \
            PREFIX##_offer_v1_receive(offer, type, fd);                                       \
        }                                                                                     \
        static void offer(Source *source, const char *type) { PREFIX##_source_v1_offer(source, type); } \
        static void setSelection(Device *device, Source *source)                              \
        {                                                                                     \
            PREFIX##_device_v1_set_selection(device, source);                                 \
        }                                                                                     \
        static void setPrimarySelection(Device *device, Source *source)                       \
        {                                                                                     \
            PREFIX##_device_v1_set_primary_selection(device, source);                         \
        }                                                                                     \
        static void destroy(Manager *manager) { PREFIX##_manager_v1_destroy(manager); }       \
        static void destroy(Device *device) { PREFIX##_device_v1_destroy(device); }           \
        static void destroy(Offer *offer) { PREFIX##_offer_v1_destroy(offer); }               \
        static void destroy(Source *source) { PREFIX##_source_v1_destroy(source); }           \
    }
