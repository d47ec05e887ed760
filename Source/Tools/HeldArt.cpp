#include "Tools/HeldArt.h"

#include "Common/Suites.h"

ASErr disposeHeldArt(AIArtHandle* art)
{
    ASErr err = kNoErr;
    if (*art != NULL && sAIArt->ValidArt(*art)) err = sAIArt->DisposeArt(*art);
    *art = NULL;
    return err;
}
