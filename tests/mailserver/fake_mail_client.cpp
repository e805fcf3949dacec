// A stand-in for the mail client's automation server, for tests only. It
// answers to the mail client's class name with an application object whose
// Version and "MAPI" namespace (Folders: Count, Item(i); each folder StoreID
// and Name) report what the tests wrote under kConfigKey.
//
//   fake_mail_client.exe /regserver | /unregserver
//   fake_mail_client.exe -Embedding            started by COM; ends with its last object
//   fake_mail_client.exe /running STOP READY   a running instance in the running
//                                               object table until event STOP is set
#include <windows.h>
#include <ole2.h>
#include <oleauto.h>

#include <string>
#include <utility>
#include <vector>

#include "mailserver/fake_mail_client.h"

namespace {

const CLSID kClsid = {0x6b1c5e2a, 0x3f4d, 0x4a8b, {0x9e, 0x21, 0x7c, 0x0d, 0x5a, 0x4f, 0x1b, 0x93}};
const wchar_t kClsidText[] = L"{6B1C5E2A-3F4D-4A8B-9E21-7C0D5A4F1B93}";
const wchar_t kProgId[] = L"Outlook.Application";

LONG g_objects = 0;
bool g_end_with_last_object = false;
DWORD g_main_thread = 0;

void ObjectMade() { InterlockedIncrement(&g_objects); }
void ObjectGone() {
  if (InterlockedDecrement(&g_objects) == 0 && g_end_with_last_object)
    PostThreadMessageW(g_main_thread, WM_QUIT, 0, 0);
}

std::wstring ReadText(HKEY key, const wchar_t* name) {
  wchar_t value[4096] = {};
  DWORD size = sizeof(value) - sizeof(wchar_t);
  if (RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size) !=
      ERROR_SUCCESS)
    return L"";
  return value;
}

struct Config {
  std::wstring version;
  std::vector<std::pair<std::wstring, std::wstring>> stores;  // name, StoreID
};

Config ReadConfig() {
  Config config;
  HKEY root = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, fake_mail_client::kConfigKey, 0, KEY_READ, &root) != ERROR_SUCCESS)
    return config;
  config.version = ReadText(root, L"Version");
  for (int n = 1;; ++n) {
    HKEY store = nullptr;
    std::wstring name = L"Stores\\" + std::to_wstring(n);
    if (RegOpenKeyExW(root, name.c_str(), 0, KEY_READ, &store) != ERROR_SUCCESS) break;
    config.stores.emplace_back(ReadText(store, L"Name"), ReadText(store, L"StoreID"));
    RegCloseKey(store);
  }
  RegCloseKey(root);
  return config;
}

enum class Kind { kApplication, kNamespace, kFolders, kFolder };
enum Member : DISPID { kVersion = 1, kGetNamespace, kFolders, kCount, kItem, kStoreID, kName };

struct MemberName {
  Kind kind;
  const wchar_t* name;
  Member id;
};

const MemberName kMembers[] = {
    {Kind::kApplication, L"Version", kVersion}, {Kind::kApplication, L"GetNamespace", kGetNamespace},
    {Kind::kNamespace, L"Folders", kFolders},   {Kind::kFolders, L"Count", kCount},
    {Kind::kFolders, L"Item", kItem},           {Kind::kFolder, L"StoreID", kStoreID},
    {Kind::kFolder, L"Name", kName},
};

HRESULT ReturnText(VARIANT* result, const std::wstring& text) {
  if (!result) return S_OK;
  V_VT(result) = VT_BSTR;
  V_BSTR(result) = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return S_OK;
}

class FakeObject : public IDispatch {
 public:
  FakeObject(Kind kind, Config config, size_t index = 0)
      : kind_(kind), config_(std::move(config)), index_(index) {
    ObjectMade();
  }
  virtual ~FakeObject() { ObjectGone(); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IDispatch) {
      *out = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return left;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return *count = 0, S_OK; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override {
    for (UINT n = 0; n < count; ++n) ids[n] = DISPID_UNKNOWN;
    for (const MemberName& member : kMembers) {
      if (member.kind == kind_ && _wcsicmp(member.name, names[0]) == 0) {
        ids[0] = member.id;
        return S_OK;
      }
    }
    return DISP_E_UNKNOWNNAME;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* parameters,
                                   VARIANT* result, EXCEPINFO*, UINT*) override {
    switch (id) {
      case kVersion: return ReturnText(result, config_.version);
      case kGetNamespace: {
        VARIANT name;
        VariantInit(&name);
        if (parameters->cArgs != 1 ||
            FAILED(VariantChangeType(&name, &parameters->rgvarg[0], 0, VT_BSTR)))
          return DISP_E_BADPARAMCOUNT;
        bool mapi = _wcsicmp(V_BSTR(&name), L"MAPI") == 0;
        VariantClear(&name);
        if (!mapi) return E_INVALIDARG;
        return ReturnObject(result, new FakeObject(Kind::kNamespace, config_));
      }
      case kFolders: return ReturnObject(result, new FakeObject(Kind::kFolders, config_));
      case kCount:
        if (result) {
          V_VT(result) = VT_I4;
          V_I4(result) = static_cast<LONG>(config_.stores.size());
        }
        return S_OK;
      case kItem: {
        VARIANT index;
        VariantInit(&index);
        if (parameters->cArgs != 1 ||
            FAILED(VariantChangeType(&index, &parameters->rgvarg[0], 0, VT_I4)))
          return DISP_E_BADPARAMCOUNT;
        LONG n = V_I4(&index);
        if (n < 1 || n > static_cast<LONG>(config_.stores.size())) return DISP_E_BADINDEX;
        return ReturnObject(result, new FakeObject(Kind::kFolder, config_, n - 1));
      }
      case kStoreID: return ReturnText(result, config_.stores[index_].second);
      case kName: return ReturnText(result, config_.stores[index_].first);
      default: return DISP_E_MEMBERNOTFOUND;
    }
  }

 private:
  static HRESULT ReturnObject(VARIANT* result, FakeObject* object) {
    if (!result) return delete object, S_OK;
    V_VT(result) = VT_DISPATCH;
    V_DISPATCH(result) = object;
    return S_OK;
  }

  LONG references_ = 1;
  Kind kind_;
  Config config_;
  size_t index_;
};

class Factory : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IClassFactory) {
      *out = static_cast<IClassFactory*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (outer) return CLASS_E_NOAGGREGATION;
    FakeObject* application = new FakeObject(Kind::kApplication, ReadConfig());
    HRESULT result = application->QueryInterface(iid, out);
    application->Release();
    return result;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

Factory g_factory;

std::wstring ExePath() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return path;
}

// The user's classes are where Windows looks first; Wine reads only the
// machine's, which in the test prefix are the tests' own as well.
const HKEY kClassRoots[] = {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE};

void SetDefault(HKEY root, const std::wstring& key, const std::wstring& value) {
  RegSetKeyValueW(root, key.c_str(), nullptr, REG_SZ, value.c_str(),
                  static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

void DeleteTree(HKEY root, const std::wstring& key) {
  RegDeleteTreeW(root, key.c_str());
  RegDeleteKeyW(root, key.c_str());
}

int RegisterServer() {
  const std::wstring classes = L"Software\\Classes\\";
  const std::wstring clsid = classes + L"CLSID\\" + kClsidText;
  for (HKEY root : kClassRoots) {
    SetDefault(root, classes + kProgId, L"Tavrik test mail client");
    SetDefault(root, classes + kProgId + L"\\CLSID", kClsidText);
    SetDefault(root, clsid, L"Tavrik test mail client");
    SetDefault(root, clsid + L"\\ProgID", kProgId);
    SetDefault(root, clsid + L"\\LocalServer32", L"\"" + ExePath() + L"\"");
  }
  return 0;
}

int UnregisterServer() {
  const std::wstring classes = L"Software\\Classes\\";
  for (HKEY root : kClassRoots) {
    DeleteTree(root, classes + kProgId);
    DeleteTree(root, classes + L"CLSID\\" + kClsidText);
  }
  return 0;
}

// Runs the message loop until WM_QUIT or until stop is set.
void Serve(HANDLE stop) {
  for (;;) {
    DWORD woke = MsgWaitForMultipleObjects(stop ? 1 : 0, &stop, FALSE, INFINITE, QS_ALLINPUT);
    if (stop && woke == WAIT_OBJECT_0) return;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) return;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
}

int RunServer(bool running, HANDLE stop, HANDLE ready) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  g_main_thread = GetCurrentThreadId();
  DWORD factory_cookie = 0, active_cookie = 0;
  CoRegisterClassObject(kClsid, &g_factory, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE,
                        &factory_cookie);
  FakeObject* application = nullptr;
  if (running) {
    application = new FakeObject(Kind::kApplication, ReadConfig());
    RegisterActiveObject(application, kClsid, ACTIVEOBJECT_STRONG, &active_cookie);
    if (ready) SetEvent(ready);
  } else {
    g_end_with_last_object = true;
    // Nobody came for the object it was started for: do not linger.
    SetTimer(nullptr, 0, 60000, [](HWND, UINT, UINT_PTR, DWORD) {
      if (g_objects == 0) PostQuitMessage(0);
    });
  }
  Serve(stop);
  if (running) {
    RevokeActiveObject(active_cookie, nullptr);
    application->Release();
  }
  CoRevokeClassObject(factory_cookie);
  CoUninitialize();
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::wstring mode = argc > 1 ? argv[1] : L"";
  if (mode == L"/regserver") return RegisterServer();
  if (mode == L"/unregserver") return UnregisterServer();
  if (mode == L"/running" && argc > 3) {
    HANDLE stop = OpenEventW(SYNCHRONIZE, FALSE, argv[2]);
    HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[3]);
    return stop ? RunServer(true, stop, ready) : 2;
  }
  if (_wcsicmp(mode.c_str(), L"-Embedding") == 0 || _wcsicmp(mode.c_str(), L"/Embedding") == 0)
    return RunServer(false, nullptr, nullptr);
  return 1;
}
