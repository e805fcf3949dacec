// Language choice and the exact texts of the main, About and splash windows.
// Accented letters are written as escapes here, so a source file read in the
// wrong encoding shows up as a mismatch.
#include "app/texts.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace app {
namespace {

TEST(IsSpanishTest, SpanishVariantsByTheirFirstTwoLetters) {
  EXPECT_TRUE(IsSpanish(L"ESP"));
  EXPECT_TRUE(IsSpanish(L"ESN"));
  EXPECT_TRUE(IsSpanish(L"ESM"));
  EXPECT_TRUE(IsSpanish(L"ES"));
}

TEST(IsSpanishTest, EverythingElseIsEnglish) {
  EXPECT_FALSE(IsSpanish(L"ENU"));
  EXPECT_FALSE(IsSpanish(L"CAT"));
  EXPECT_FALSE(IsSpanish(L"FRA"));
  EXPECT_FALSE(IsSpanish(L"es"));
  EXPECT_FALSE(IsSpanish(L"Esp"));
  EXPECT_FALSE(IsSpanish(L"E"));
  EXPECT_FALSE(IsSpanish(L""));
  EXPECT_FALSE(IsSpanish(L" ESP"));
}

struct MessageRow {
  std::wstring MainTexts::*key;
  const wchar_t* spanish;
  const wchar_t* english;
};

const MessageRow kMessages[] = {
    {&MainTexts::strClose, L"CERRAR", L"CLOSE"},
    {&MainTexts::strCancel, L"CANCELAR", L"CANCEL"},
    {&MainTexts::strNotFound, L"No encontrado", L"Not found"},
    {&MainTexts::strEnterTarget, L"Debe indicar el destino de la copia",
     L"Please, enter backup folder"},
    {&MainTexts::strInvalidTarget,
     L"El destino de la copia no es v\u00E1lido. Por favor, indique un destino v\u00E1lido...",
     L"Backup folder is not valid. Please, enter a valid target"},
    {&MainTexts::strOutlookClosed, L"Cerrado (OK)", L"Closed (OK)"},
    {&MainTexts::strOutlookOpen, L"ABIERTO (ci\u00E9rrelo)", L"OPEN (close-it)"},
    {&MainTexts::strSameFolder,
     L"La carpeta de copias no puede ser la misma que la carpeta a copiar",
     L"Backup folder cannot be the same as source folder"},
    {&MainTexts::strCannotBackupTo, L"No se puede copiar a ", L"Cannot backup to "},
    {&MainTexts::strErrorWriting, L"Error grabando en ", L"Error writing to "},
    {&MainTexts::strCanceled, L"\u00A1Cancelado!", L"Canceled!"},
    {&MainTexts::strLogFolder, L"Carpeta: ", L"Folder: "},
    {&MainTexts::strLogCopied, L"archivo copiado", L"file copied"},
    {&MainTexts::strLogNotCopied, L"*no copiado*", L"*not copied*"},
    {&MainTexts::strLogUserCancelled, L"cancelado por el usuario", L"user cancelled"},
    {&MainTexts::strLogSource, L"Carpeta/archivo origen de la copia ",
     L"Backup source file/folder "},
    {&MainTexts::strSelectTarget, L"Seleccione la carpeta de la copia de seguridad",
     L"Select backup folder"},
    {&MainTexts::strPleaseWait, L"Por favor, espere...", L"Please, wait..."},
};

TEST(MainTextsForTest, SpanishMessages) {
  for (const wchar_t* lang : {L"ESP", L"ESN"}) {
    const MainTexts texts = MainTextsFor(lang);
    for (const MessageRow& row : kMessages) {
      EXPECT_EQ(texts.*row.key, row.spanish) << lang;
    }
  }
}

TEST(MainTextsForTest, EnglishMessages) {
  for (const wchar_t* lang : {L"ENU", L"CAT", L"es", L"E", L""}) {
    const MainTexts texts = MainTextsFor(lang);
    for (const MessageRow& row : kMessages) {
      EXPECT_EQ(texts.*row.key, row.english) << lang;
    }
  }
}

TEST(MainCaptionsTest, EveryCaptionInItsOrderAndBothLanguages) {
  const CaptionText expected[] = {
      {MainCaption::lblUserLbl, L"Usuario:", L"User:"},
      {MainCaption::lblOSlbl, L"S.O.:", L"O.S.:"},
      {MainCaption::lblOutlookLbl, L"Correo:", L"Mail:"},
      {MainCaption::lblOutlookStatusLbl, L"Outlook est\u00E1:", L"Outlook is:"},
      {MainCaption::FrameBack, L"Seleccione carpetas", L"Select folders"},
      {MainCaption::lblTotalText, L"Tama\u00F1o de la copia:", L"Backup size:"},
      {MainCaption::lblBackupTo, L"Copiar a:", L"Backup to:"},
      {MainCaption::Frame2, L"Si existen archivos en la carpeta de copias:",
       L"If exist files in backup folder:"},
      {MainCaption::Label1, L"-Los archivos se fusionar\u00E1n.", L"- Files will be merged. "},
      {MainCaption::Label2, L"-Archivos con el mismo nombre ser\u00E1n sobreescritos.",
       L"- Files with identical name will be overwritten."},
      {MainCaption::chklog, L"Crear archivo de log", L"Write log file"},
      {MainCaption::lblViewLog, L"Ver archivo de log", L"View log"},
      {MainCaption::mnuFile, L"Archivo", L"File"},
      {MainCaption::mnuExit, L"Salir", L"Exit"},
      {MainCaption::mnuHelp, L"Ayuda", L"Help"},
      {MainCaption::mnuAbout, L"Acerca de", L"About"},
  };
  const auto& captions = MainCaptions();
  ASSERT_EQ(captions.size(), std::size(expected));
  for (std::size_t i = 0; i < captions.size(); ++i) {
    EXPECT_EQ(captions[i].control, expected[i].control) << i;
    EXPECT_EQ(std::wstring(captions[i].spanish), expected[i].spanish) << i;
    EXPECT_EQ(std::wstring(captions[i].english), expected[i].english) << i;
  }
}

TEST(MainCaptionsTest, EachControlOnce) {
  std::set<MainCaption> seen;
  for (const CaptionText& caption : MainCaptions()) {
    EXPECT_TRUE(seen.insert(caption.control).second);
  }
}

TEST(AboutTextsForTest, Spanish) {
  const AboutTexts texts = AboutTextsFor(L"ESP");
  EXPECT_EQ(texts.strUpdate, L"Actualizar Software");
  EXPECT_EQ(texts.strSearching, L"Buscando...");
  EXPECT_EQ(texts.caption, L"Acerca de");
  EXPECT_EQ(texts.lblVersionLabel, L"Versi\u00F3n actual:");
  EXPECT_EQ(texts.lblNewVersionLabel, L"Nueva versi\u00F3n:");
  EXPECT_EQ(texts.strNoVersion, L"No se pudo comprobar si hay una versi\u00F3n nueva");
}

TEST(AboutTextsForTest, English) {
  for (const wchar_t* lang : {L"ENU", L"CAT", L"es", L"E", L""}) {
    const AboutTexts texts = AboutTextsFor(lang);
    EXPECT_EQ(texts.strUpdate, L"Update Software") << lang;
    EXPECT_EQ(texts.strSearching, L"Searching...") << lang;
    EXPECT_EQ(texts.caption, L"About") << lang;
    EXPECT_EQ(texts.lblVersionLabel, L"Current version:") << lang;
    EXPECT_EQ(texts.lblNewVersionLabel, L"Latest version:") << lang;
    EXPECT_EQ(texts.strNoVersion, L"Could not check for a new version") << lang;
  }
}

TEST(AboutTextsForTest, UpdateRoleCaptionDiffersFromTheOtherRoles) {
  // The About button's role is told by its caption alone.
  for (const wchar_t* lang : {L"ESP", L"ENU"}) {
    const MainTexts main = MainTextsFor(lang);
    const AboutTexts about = AboutTextsFor(lang);
    EXPECT_NE(about.strUpdate, main.strClose);
    EXPECT_NE(about.strUpdate, main.strCancel);
    EXPECT_NE(main.strClose, main.strCancel);
  }
}

TEST(SplashLoadingTextTest, ByLanguage) {
  EXPECT_EQ(SplashLoadingText(L"ESP"), L"Cargando...");
  EXPECT_EQ(SplashLoadingText(L"ESN"), L"Cargando...");
  EXPECT_EQ(SplashLoadingText(L"ENU"), L"Loading...");
  EXPECT_EQ(SplashLoadingText(L"es"), L"Loading...");
  EXPECT_EQ(SplashLoadingText(L""), L"Loading...");
}

}  // namespace
}  // namespace app
