// The library as an in-process server: its exports, the answers of every method, the
// interfaces of its object and the counts that allow unloading it.
#include "tests/shellext/VorstelLibrary.h"

#include "platform/WideString.h"
#include "shellext/ClassId.h"
#include "tests/support/RunTool.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr com::GUID OtherClass{
    0x9866CE29, 0x2D30, 0x4D9C, {0xB8, 0x76, 0x80, 0x6D, 0x79, 0xF7, 0x95, 0xA0}};

} // namespace

TEST(VorstelExports, TheLibraryExportsExactlyTheFourServerFunctionsAndLinksNoQt)
{
    const std::optional<QString> symbols =
        ToolOutput("nm", {"-D", "--defined-only", "--format=just-symbols", VORSTEL_LIBRARY});
    ASSERT_TRUE(symbols);
    QStringList names = symbols->split('\n', Qt::SkipEmptyParts);
    names.sort();
    EXPECT_EQ(names, (QStringList{"DllCanUnloadNow", "DllGetClassObject", "DllRegisterServer",
                                  "DllUnregisterServer"}));

    const std::optional<QString> dynamic = ToolOutput("readelf", {"-d", VORSTEL_LIBRARY});
    ASSERT_TRUE(dynamic);
    EXPECT_FALSE(dynamic->contains("Qt")) << dynamic->toStdString();
}

TEST(VorstelExports, EveryMethodAnswersItsResult)
{
    const std::filesystem::path missing = "/nonexistent/livre.bd";
    const auto file = OpenShellView<com::IPersistFile>(missing, com::IID_IPersistFile);
    const auto extractor = OpenShellView<com::IExtractImage>(missing, com::IID_IExtractImage);
    const auto query = OpenShellView<com::IQueryInfo>(missing, com::IID_IQueryInfo);
    const auto factory = ShellViewFactory();
    com::DWORD priority = 0;
    const auto locate = [&](std::int32_t cx, std::int32_t cy, com::DWORD flags) {
        const com::SIZE size{cx, cy};
        return extractor->GetLocation(nullptr, 0, &priority, &size, 32, &flags);
    };
    void *object = &priority;
    com::DWORD untouched = 77;
    com::GUID classId{};
    char16_t *name = nullptr;

    struct Case {
        const char *call;
        std::function<com::HRESULT()> run;
        com::HRESULT expected;
        bool clearsObject = false; // a failed request for an object sets it to nullptr
    };
    const Case cases[] = {
        {"DllGetClassObject, other class",
         [&] { return Vorstel().DllGetClassObject(OtherClass, com::IID_IClassFactory, &object); },
         com::CLASS_E_CLASSNOTAVAILABLE, true},
        {"DllGetClassObject, no out pointer",
         [&] {
             return Vorstel().DllGetClassObject(shellext::CLSID_ShellView, com::IID_IClassFactory,
                                                nullptr);
         },
         com::E_POINTER},
        {"DllGetClassObject, an interface the factory lacks",
         [&] {
             return Vorstel().DllGetClassObject(shellext::CLSID_ShellView, com::IID_IExtractImage,
                                                &object);
         },
         com::E_NOINTERFACE, true},
        {"CreateInstance, aggregated",
         [&] { return factory->CreateInstance(factory.get(), com::IID_IUnknown, &object); },
         com::CLASS_E_NOAGGREGATION, true},
        {"CreateInstance, an interface the object lacks",
         [&] { return factory->CreateInstance(nullptr, com::IID_IMalloc, &object); },
         com::E_NOINTERFACE, true},
        {"CreateInstance, no out pointer",
         [&] { return factory->CreateInstance(nullptr, com::IID_IUnknown, nullptr); },
         com::E_POINTER},
        {"QueryInterface, no out pointer",
         [&] { return file->QueryInterface(com::IID_IUnknown, nullptr); }, com::E_POINTER},
        {"Load of a missing file", [&] { return file->Load(u"/nonexistent/autre.bd", 0); },
         com::S_OK},
        {"Load, no file name", [&] { return file->Load(nullptr, 0); }, com::E_POINTER},
        {"GetLocation, asynchronous", [&] { return locate(96, 96, com::IEIFLAG_ASYNC | 0x0200); },
         com::E_PENDING},
        {"GetLocation", [&] { return locate(96, 96, 0x0004); }, com::S_OK},
        {"GetLocation, 0 by 0", [&] { return locate(0, 0, 0); }, com::S_OK},
        {"GetLocation, negative width", [&] { return locate(-1, 96, 0); }, com::E_INVALIDARG},
        {"GetLocation, absurd height", [&] { return locate(96, 100000, 0); }, com::E_INVALIDARG},
        {"GetLocation, no size",
         [&] {
             com::DWORD flags = 0;
             return extractor->GetLocation(nullptr, 0, &priority, nullptr, 32, &flags);
         },
         com::E_POINTER},
        {"Extract, no out pointer", [&] { return extractor->Extract(nullptr); }, com::E_POINTER},
        {"GetInfoTip, no out pointer", [&] { return query->GetInfoTip(0, nullptr); },
         com::E_POINTER},
        {"GetInfoFlags", [&] { return query->GetInfoFlags(&untouched); }, com::E_NOTIMPL},
        {"GetClassID", [&] { return file->GetClassID(&classId); }, com::E_NOTIMPL},
        {"IsDirty", [&] { return file->IsDirty(); }, com::E_NOTIMPL},
        {"Save", [&] { return file->Save(u"/tmp/x.bd", 1); }, com::E_NOTIMPL},
        {"SaveCompleted", [&] { return file->SaveCompleted(u"/tmp/x.bd"); }, com::E_NOTIMPL},
        {"GetCurFile", [&] { return file->GetCurFile(&name); }, com::E_NOTIMPL},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.call);
        object = &priority;
        EXPECT_EQ(c.run(), c.expected);
        if (c.clearsObject) {
            EXPECT_EQ(object, nullptr);
        }
    }
    EXPECT_EQ(untouched, 77u);
    EXPECT_EQ(classId, com::GUID{});
    EXPECT_EQ(name, nullptr);
}

TEST(VorstelExports, ARefusedThumbnailSizeGivesNoBitmap)
{
    const auto extractor =
        OpenShellView<com::IExtractImage>("/nonexistent/livre.bd", com::IID_IExtractImage);
    for (const com::SIZE size : {com::SIZE{-5, 10}, com::SIZE{10, -1}, com::SIZE{5000, 10}}) {
        SCOPED_TRACE(size.cx);
        com::DWORD priority = 0;
        com::DWORD flags = 0;
        EXPECT_EQ(extractor->GetLocation(nullptr, 0, &priority, &size, 32, &flags),
                  com::E_INVALIDARG);
        com::HBITMAP bitmap = reinterpret_cast<com::HBITMAP>(&flags);
        EXPECT_EQ(extractor->Extract(&bitmap), com::E_INVALIDARG);
        EXPECT_EQ(bitmap, nullptr);
    }
}

TEST(VorstelExports, ExtractMakesABitmapOfTheSizeKeptByGetLocation)
{
    const auto extractor =
        OpenShellView<com::IExtractImage>("/nonexistent/livre.bd", com::IID_IExtractImage);
    const auto extract = [&] {
        com::HBITMAP bitmap = nullptr;
        EXPECT_EQ(extractor->Extract(&bitmap), com::S_OK);
        return std::unique_ptr<platform::Raster>(bitmap);
    };
    const auto before = extract();
    ASSERT_TRUE(before);
    EXPECT_EQ(before->width(), 0) << "before any GetLocation";
    EXPECT_EQ(before->height(), 0);

    const com::SIZE size{50, 20};
    com::DWORD priority = 0;
    com::DWORD flags = com::IEIFLAG_ASYNC;
    ASSERT_EQ(extractor->GetLocation(nullptr, 0, &priority, &size, 32, &flags), com::E_PENDING);
    EXPECT_EQ(flags, com::IEIFLAG_ASYNC);
    const auto after = extract();
    ASSERT_TRUE(after);
    EXPECT_EQ(after->width(), 50);
    EXPECT_EQ(after->height(), 20);
}

TEST(VorstelExports, TheObjectAnswersForItsFourInterfacesWithOneIdentity)
{
    const auto file = OpenShellView<com::IPersistFile>("/tmp/livre.bd", com::IID_IPersistFile);
    const auto unknownOf = [](com::IUnknown &object) {
        void *unknown = nullptr;
        EXPECT_EQ(object.QueryInterface(com::IID_IUnknown, &unknown), com::S_OK);
        static_cast<com::IUnknown *>(unknown)->Release();
        return unknown;
    };
    void *persist = nullptr;
    ASSERT_EQ(file->QueryInterface(com::IID_IPersist, &persist), com::S_OK);
    const Held<com::IPersist> held(static_cast<com::IPersist *>(persist));
    EXPECT_EQ(persist, static_cast<void *>(file.get()));

    void *other = nullptr;
    ASSERT_EQ(file->QueryInterface(com::IID_IExtractImage, &other), com::S_OK);
    const Held<com::IExtractImage> extractor(static_cast<com::IExtractImage *>(other));
    ASSERT_EQ(extractor->QueryInterface(com::IID_IQueryInfo, &other), com::S_OK);
    const Held<com::IQueryInfo> query(static_cast<com::IQueryInfo *>(other));
    EXPECT_EQ(unknownOf(*file), unknownOf(*extractor));
    EXPECT_EQ(unknownOf(*query), unknownOf(*extractor));
}

TEST(VorstelExports, TheLibraryMayBeUnloadedOnlyWithNoObjectNoLockAndNoFactoryHeld)
{
    EXPECT_EQ(Vorstel().DllCanUnloadNow(), com::S_OK);
    {
        auto factory = ShellViewFactory();
        EXPECT_EQ(Vorstel().DllCanUnloadNow(), com::S_FALSE) << "factory held";
        EXPECT_EQ(factory->LockServer(1), com::S_OK);
        void *object = nullptr;
        ASSERT_EQ(factory->CreateInstance(nullptr, com::IID_IQueryInfo, &object), com::S_OK);
        Held<com::IQueryInfo> query(static_cast<com::IQueryInfo *>(object));
        factory.reset();
        EXPECT_EQ(Vorstel().DllCanUnloadNow(), com::S_FALSE) << "object alive, server locked";
        query->AddRef();
        query.reset();
        EXPECT_EQ(Vorstel().DllCanUnloadNow(), com::S_FALSE) << "one reference left";
        static_cast<com::IQueryInfo *>(object)->Release();
        EXPECT_EQ(Vorstel().DllCanUnloadNow(), com::S_FALSE) << "server still locked";
        ShellViewFactory()->LockServer(0);
    }
    EXPECT_EQ(Vorstel().DllCanUnloadNow(), com::S_OK);
}
