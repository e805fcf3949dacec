// Text tables of the main, About and splash windows.
#include "app/texts.h"

namespace app {

bool IsSpanish(std::wstring_view lang) {
  // ESP, ESN, ESM and the other Spanish variants all start with ES.
  return lang.substr(0, 2) == L"ES";
}

MainTexts MainTextsFor(std::wstring_view lang) {
  if (IsSpanish(lang)) {
    return {
        L"CERRAR",
        L"CANCELAR",
        L"No encontrado",
        L"Debe indicar el destino de la copia",
        L"El destino de la copia no es válido. Por favor, indique un destino válido...",
        L"Cerrado (OK)",
        L"ABIERTO (ciérrelo)",
        L"La carpeta de copias no puede ser la misma que la carpeta a copiar",
        L"No se puede copiar a ",
        L"Error grabando en ",
        L"¡Cancelado!",
        L"Carpeta: ",
        L"archivo copiado",
        L"*no copiado*",
        L"cancelado por el usuario",
        L"Carpeta/archivo origen de la copia ",
        L"Seleccione la carpeta de la copia de seguridad",
        L"Por favor, espere...",
        L"enlace omitido",
        L"No se pudo guardar la configuración",
    };
  }
  return {
      L"CLOSE",
      L"CANCEL",
      L"Not found",
      L"Please, enter backup folder",
      L"Backup folder is not valid. Please, enter a valid target",
      L"Closed (OK)",
      L"OPEN (close-it)",
      L"Backup folder cannot be the same as source folder",
      L"Cannot backup to ",
      L"Error writing to ",
      L"Canceled!",
      L"Folder: ",
      L"file copied",
      L"*not copied*",
      L"user cancelled",
      L"Backup source file/folder ",
      L"Select backup folder",
      L"Please, wait...",
      L"link skipped",
      L"Settings could not be saved",
  };
}

const std::array<CaptionText, 16>& MainCaptions() {
  static const std::array<CaptionText, 16> kCaptions = {{
      {MainCaption::lblUserLbl, L"Usuario:", L"User:"},
      {MainCaption::lblOSlbl, L"S.O.:", L"O.S.:"},
      {MainCaption::lblOutlookLbl, L"Correo:", L"Mail:"},
      {MainCaption::lblOutlookStatusLbl, L"Outlook está:", L"Outlook is:"},
      {MainCaption::FrameBack, L"Seleccione carpetas", L"Select folders"},
      {MainCaption::lblTotalText, L"Tamaño de la copia:", L"Backup size:"},
      {MainCaption::lblBackupTo, L"Copiar a:", L"Backup to:"},
      {MainCaption::Frame2, L"Si existen archivos en la carpeta de copias:",
       L"If exist files in backup folder:"},
      {MainCaption::Label1, L"-Los archivos se fusionarán.", L"- Files will be merged. "},
      {MainCaption::Label2, L"-Archivos con el mismo nombre serán sobreescritos.",
       L"- Files with identical name will be overwritten."},
      {MainCaption::chklog, L"Crear archivo de log", L"Write log file"},
      {MainCaption::lblViewLog, L"Ver archivo de log", L"View log"},
      {MainCaption::mnuFile, L"Archivo", L"File"},
      {MainCaption::mnuExit, L"Salir", L"Exit"},
      {MainCaption::mnuHelp, L"Ayuda", L"Help"},
      {MainCaption::mnuAbout, L"Acerca de", L"About"},
  }};
  return kCaptions;
}

AboutTexts AboutTextsFor(std::wstring_view lang) {
  if (IsSpanish(lang)) {
    return {L"Actualizar Software", L"Buscando...", L"Acerca de", L"Versión actual:",
            L"Nueva versión:", L"No se pudo comprobar si hay una versión nueva"};
  }
  return {L"Update Software", L"Searching...", L"About", L"Current version:",
          L"Latest version:", L"Could not check for a new version"};
}

std::wstring SplashLoadingText(std::wstring_view lang) {
  return IsSpanish(lang) ? L"Cargando..." : L"Loading...";
}

}  // namespace app
