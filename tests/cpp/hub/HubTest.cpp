#include "Support.h"
#include <cstdio>
using namespace test;
TEST(Dbg, Dump) {
    ComPtr<IDispatch> d; vellum().As(&d);
    ComPtr<ITypeInfo> ti; d->GetTypeInfo(0, 0, &ti);
    HREFTYPE h; ComPtr<ITypeInfo> vt;
    printf("refimpl %lx\n", ti->GetRefTypeOfImplType(-1, &h));
    ti->GetRefTypeInfo(h, &vt);
    TYPEATTR* a; vt->GetTypeAttr(&a); printf("kind %d funcs %d\n", a->typekind, a->cFuncs);
    for (int i = 0; i < a->cFuncs; ++i) { FUNCDESC* f = nullptr; HRESULT fh = vt->GetFuncDesc(i, &f); printf("gfd %lx\n", fh); fflush(stdout); if (!f) continue;
      printf("f%d memid %ld params %d:", i, f->memid, f->cParams);
      for (int p = 0; p < f->cParams; ++p) { auto& t = f->lprgelemdescParam[p].tdesc; printf(" %d", t.vt);
         if (t.vt == VT_PTR) { printf("->%d", t.lptdesc->vt); if (t.lptdesc->vt==VT_PTR) printf("->%d", t.lptdesc->lptdesc->vt);
           if (t.lptdesc->vt == VT_USERDEFINED) { ComPtr<ITypeInfo> r; HRESULT hr = vt->GetRefTypeInfo(t.lptdesc->hreftype, &r); printf("(ref %lx)", hr);} 
           if (t.lptdesc->vt==VT_PTR && t.lptdesc->lptdesc->vt == VT_USERDEFINED) { ComPtr<ITypeInfo> r; HRESULT hr = vt->GetRefTypeInfo(t.lptdesc->lptdesc->hreftype, &r); printf("(ref %lx)", hr); if (r) { TYPEATTR* ra; r->GetTypeAttr(&ra); printf("[kind %d]", ra->typekind);} } }
         if (t.vt == VT_USERDEFINED) { ComPtr<ITypeInfo> r; HRESULT hr = vt->GetRefTypeInfo(t.hreftype, &r); printf("(uref %lx)", hr); if (r) { TYPEATTR* ra; r->GetTypeAttr(&ra); printf("[kind %d]", ra->typekind);} }
      }
      printf("\n"); vt->ReleaseFuncDesc(f); }
}
