#pragma once

// The 111 fields of a tour project in declaration order, each under its JSON
// key. The struct, the decoder and equality are all generated from this one
// table, so a field cannot be left out of one of them.
//
//   REQUIRED(Type, name)             absent, null or malformed fails the decoding
//   DEFAULTED(Type, name, {default}) absent, null or malformed gives the default
//   OPTIONAL(Type, name)             absent or null gives no value, malformed fails
//
// Defaults are braced initialisers; they are evaluated when the field is
// decoded, so fallen-back dates hold the moment of decoding.
#define LUMIVANE_PROJECT_FIELDS(REQUIRED, DEFAULTED, OPTIONAL)                             \
    /* Identity and dates */                                                               \
    REQUIRED(QUuid, id)                                                                    \
    REQUIRED(QString, name)                                                                \
    OPTIONAL(QString, address)                                                             \
    DEFAULTED(LocationCategory, category, {LocationCategory::residential})                 \
    DEFAULTED(RenderMode, renderMode, {RenderMode::simple})                                \
    DEFAULTED(QDateTime, createdAt, {QDateTime::currentDateTimeUtc()})                     \
    DEFAULTED(QDateTime, updatedAt, {QDateTime::currentDateTimeUtc()})                     \
    DEFAULTED(ProjectStatus, status, {ProjectStatus::draft})                               \
    /* Facts about the place */                                                            \
    OPTIONAL(double, area)                                                                 \
    OPTIONAL(qint64, capacity)                                                             \
    OPTIONAL(qint64, roomCount)                                                            \
    OPTIONAL(qint64, floors)                                                               \
    OPTIONAL(qint64, yearBuilt)                                                            \
    OPTIONAL(QString, contactName)                                                         \
    OPTIONAL(QString, internalReference)                                                   \
    OPTIONAL(QString, website)                                                             \
    OPTIONAL(QStringList, tags)                                                            \
    OPTIONAL(QString, freeNote)                                                            \
    OPTIONAL(QString, privateNote)                                                         \
    OPTIONAL(QString, aiContext)                                                           \
    OPTIONAL(bool, autoPlayAudio)                                                          \
    OPTIONAL(TransactionType, transactionType)                                             \
    OPTIONAL(qint64, price)                                                                \
    OPTIONAL(qint64, monthlyRent)                                                          \
    OPTIONAL(qint64, charges)                                                              \
    OPTIONAL(qint64, bedroomsCount)                                                        \
    OPTIONAL(qint64, bathroomsCount)                                                       \
    OPTIONAL(qint64, floorNumber)                                                          \
    OPTIONAL(double, balconyArea)                                                          \
    OPTIONAL(bool, hasParking)                                                             \
    OPTIONAL(bool, hasCellar)                                                              \
    OPTIONAL(bool, hasElevator)                                                            \
    OPTIONAL(bool, hasPool)                                                                \
    OPTIONAL(bool, hasGarden)                                                              \
    OPTIONAL(bool, isFurnished)                                                            \
    OPTIONAL(EnergyClass, energyClass)                                                     \
    OPTIONAL(EnergyClass, greenhouseClass)                                                 \
    OPTIONAL(QString, mandateReference)                                                    \
    OPTIONAL(MandateType, mandateType)                                                     \
    OPTIONAL(QString, collectionType)                                                      \
    OPTIONAL(QString, historicalPeriod)                                                    \
    OPTIONAL(QString, targetAudience)                                                      \
    OPTIONAL(bool, accessibilityPMR)                                                       \
    OPTIONAL(QString, openingHours)                                                        \
    OPTIONAL(QString, entryPrice)                                                          \
    OPTIONAL(QString, educationLevel)                                                      \
    OPTIONAL(qint64, studentCount)                                                         \
    OPTIONAL(QString, specializations)                                                     \
    OPTIONAL(qint64, buildingCount)                                                        \
    OPTIONAL(qint64, seatedCapacity)                                                       \
    OPTIONAL(qint64, standingCapacity)                                                     \
    OPTIONAL(QString, audioVideoEquipment)                                                 \
    OPTIONAL(bool, cateringAvailable)                                                      \
    OPTIONAL(QString, eventType)                                                           \
    OPTIONAL(qint64, dailyRentalPrice)                                                     \
    OPTIONAL(QString, possibleConfigurations)                                              \
    OPTIONAL(qint64, seatingCount)                                                         \
    OPTIONAL(bool, hasOutdoorSeating)                                                      \
    OPTIONAL(QString, cuisineType)                                                         \
    OPTIONAL(QString, restaurantHours)                                                     \
    OPTIONAL(QString, healthFacilityType)                                                  \
    OPTIONAL(QString, medicalSpecialties)                                                  \
    OPTIONAL(bool, healthPMRAccess)                                                        \
    OPTIONAL(QString, sportFacilityType)                                                   \
    OPTIONAL(qint64, lockerCapacity)                                                       \
    OPTIONAL(QString, storeType)                                                           \
    OPTIONAL(double, storefrontLength)                                                     \
    OPTIONAL(double, storageArea)                                                          \
    /* Content and start */                                                                \
    DEFAULTED(QList<CustomField>, customFields, {})                                        \
    DEFAULTED(QList<Station>, stations, {})                                                \
    OPTIONAL(QUuid, startingStationID)                                                     \
    /* Cover page */                                                                       \
    OPTIONAL(QByteArray, coverLogoData)                                                    \
    OPTIONAL(QString, coverAgencyName)                                                     \
    OPTIONAL(QString, coverContactPhone)                                                   \
    OPTIONAL(QString, coverContactEmail)                                                   \
    OPTIONAL(QString, coverContactWebsite)                                                 \
    OPTIONAL(QString, coverDescription)                                                    \
    OPTIONAL(QUuid, appliedProfileID)                                                      \
    /* Branding and hotspot look */                                                        \
    OPTIONAL(QString, brandingAccentHex)                                                   \
    DEFAULTED(bool, showBrandingInTopbar, {true})                                          \
    DEFAULTED(HotspotStyle, hotspotStyle, {HotspotStyle::classic})                         \
    DEFAULTED(bool, showHotspotLabels, {true})                                             \
    /* Access and kiosk */                                                                 \
    OPTIONAL(QString, tourPassword)                                                        \
    DEFAULTED(bool, kioskEnabled, {false})                                                 \
    DEFAULTED(qint64, kioskStationDuration, {15})                                          \
    /* Contact form */                                                                     \
    DEFAULTED(bool, contactFormEnabled, {false})                                           \
    OPTIONAL(QString, contactFormEmail)                                                    \
    OPTIONAL(QString, contactFormButtonLabel)                                              \
    OPTIONAL(QString, contactFormWebhookURL)                                               \
    DEFAULTED(QList<FormField>, contactFormCustomFields, {})                               \
    /* Feedback, watermark and template */                                                 \
    DEFAULTED(bool, feedbackEnabled, {false})                                              \
    OPTIONAL(QString, feedbackEmail)                                                       \
    OPTIONAL(QString, watermarkText)                                                       \
    DEFAULTED(double, watermarkOpacity, {0.28})                                            \
    OPTIONAL(QString, templateID)                                                          \
    /* Ambient sound */                                                                    \
    OPTIONAL(QByteArray, ambientSoundData)                                                 \
    OPTIONAL(QString, ambientSoundFileName)                                                \
    /* Classic slideshow */                                                                \
    DEFAULTED(ClassicTransitionStyle, classicTransitionStyle, {ClassicTransitionStyle::kenBurns}) \
    DEFAULTED(qint64, classicPhotoDurationSec, {6})                                        \
    DEFAULTED(bool, classicLoopToCover, {false})                                           \
    /* Tripod patch */                                                                     \
    DEFAULTED(bool, hideTripod, {false})                                                   \
    DEFAULTED(TripodPatchStyle, tripodPatchStyle, {TripodPatchStyle::logo})                \
    DEFAULTED(double, tripodPatchSize, {0.18})                                             \
    /* Floor plans */                                                                      \
    DEFAULTED(FloorplanMap, floorplansByLevel, {})                                         \
    OPTIONAL(QByteArray, floorplanImageData)                                               \
    DEFAULTED(bool, showFloorplan, {true})                                                 \
    /* Location */                                                                         \
    OPTIONAL(double, locationLatitude)                                                     \
    OPTIONAL(double, locationLongitude)                                                    \
    DEFAULTED(qint64, locationZoom, {15})                                                  \
    DEFAULTED(bool, showLocationMap, {true})                                               \
    /* Publication */                                                                      \
    OPTIONAL(PublicationInfo, lastPublication)
