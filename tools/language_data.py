# The texts of the language package, one entry per language folder: the user-interface texts
# that go into <Language>/text.ini (gen_language_text.py) and the texts drawn into the tip and
# banner images (gen_language_art.py).
#
# UI texts keep the placeholders PRODUCT, COLOR and BRAND and the colour markup
# "{c COLOR}...{/c}"; the setup program fills them in. "\u00a0" (no-break space) keeps short
# button labels on one line and stands before French ":" and "?".

LANGUAGES = ["English", "Chinese", "ChineseTW", "Dutch", "French", "German", "Italian",
             "Japanese", "Spanish", "Portuguese", "Korean", "Arabic"]

# The keys every text.ini carries, in this order. Arabic adds STR_MB (its own unit name).
TEXT_KEYS = ["STR_INSTALL", "STR_BROWSE", "STR_LISENCE", "STR_CUSTOMIZE_INSTALL",
             "STR_INSTALL_PATH", "STR_SELECT_FOLDER", "STR_STORAGE", "STR_PATH_INVALID",
             "STR_INSTALLING", "STR_HIDE", "STR_MESSAGEBOX_TITLE", "STR_NETWORK_ERROR",
             "STR_OPERATE_TIP", "STR_SOFT_RUN", "STR_CLOSE_TIP1", "STR_CLOSE_TIP2", "STR_START",
             "STR_INSTALL_FAILED"]

NBSP = "\u00a0"

TEXTS = {
    "English": {
        "STR_INSTALL": "Install",
        "STR_BROWSE": "Browse",
        "STR_LISENCE": "I've read and agreed to {c COLOR}BRAND License Agreement{/c}",
        "STR_CUSTOMIZE_INSTALL": "Customize Installation",
        "STR_INSTALL_PATH": "Installation Path",
        "STR_SELECT_FOLDER": "Select a location to install the program",
        "STR_STORAGE": "Insufficient storage. Storage required:",
        "STR_PATH_INVALID": "The installation path is invalid.",
        "STR_INSTALLING": "Installing...",
        "STR_HIDE": "Hide",
        "STR_MESSAGEBOX_TITLE": "PRODUCT Setup",
        "STR_NETWORK_ERROR": "Network error. Please check your network settings.",
        "STR_OPERATE_TIP": "Click Abort to cancel installation, Retry to try again, "
                           "or Ignore to download via browser.",
        "STR_SOFT_RUN": "PRODUCT is running. Continuing the installation will force the program "
                        "to quit. Are you sure you want to install?",
        "STR_CLOSE_TIP1": "Are you sure you want to quit?",
        "STR_CLOSE_TIP2": "Installation is in progress. Are you sure you want to quit?",
        "STR_START": "Start" + NBSP + "Now",
        "STR_INSTALL_FAILED": "PRODUCT could not be installed. Please try again.",
    },
    "Chinese": {
        "STR_INSTALL": "安装",
        "STR_BROWSE": "浏览",
        "STR_LISENCE": "我已阅读并同意{c COLOR}《BRAND 许可协议》{/c}",
        "STR_CUSTOMIZE_INSTALL": "自定义安装",
        "STR_INSTALL_PATH": "安装路径",
        "STR_SELECT_FOLDER": "请选择程序的安装位置",
        "STR_STORAGE": "存储空间不足。所需空间：",
        "STR_PATH_INVALID": "安装路径无效。",
        "STR_INSTALLING": "正在安装...",
        "STR_HIDE": "隐藏",
        "STR_MESSAGEBOX_TITLE": "PRODUCT 安装程序",
        "STR_NETWORK_ERROR": "网络错误，请检查您的网络设置。",
        "STR_OPERATE_TIP": "单击“中止”取消安装，单击“重试”再试一次，或单击“忽略”通过浏览器下载。",
        "STR_SOFT_RUN": "PRODUCT 正在运行。继续安装将强制退出该程序。确定要安装吗？",
        "STR_CLOSE_TIP1": "确定要退出吗？",
        "STR_CLOSE_TIP2": "正在安装，确定要退出吗？",
        "STR_START": "立即启动",
        "STR_INSTALL_FAILED": "PRODUCT 安装失败，请重试。",
    },
    "ChineseTW": {
        "STR_INSTALL": "安裝",
        "STR_BROWSE": "瀏覽",
        "STR_LISENCE": "我已閱讀並同意{c COLOR}《BRAND 授權合約》{/c}",
        "STR_CUSTOMIZE_INSTALL": "自訂安裝",
        "STR_INSTALL_PATH": "安裝路徑",
        "STR_SELECT_FOLDER": "請選擇程式的安裝位置",
        "STR_STORAGE": "儲存空間不足。所需空間：",
        "STR_PATH_INVALID": "安裝路徑無效。",
        "STR_INSTALLING": "正在安裝...",
        "STR_HIDE": "隱藏",
        "STR_MESSAGEBOX_TITLE": "PRODUCT 安裝程式",
        "STR_NETWORK_ERROR": "網路錯誤，請檢查您的網路設定。",
        "STR_OPERATE_TIP": "按一下「中止」取消安裝，按一下「重試」再試一次，"
                           "或按一下「略過」透過瀏覽器下載。",
        "STR_SOFT_RUN": "PRODUCT 正在執行。繼續安裝將強制結束此程式。確定要安裝嗎？",
        "STR_CLOSE_TIP1": "確定要結束嗎？",
        "STR_CLOSE_TIP2": "正在安裝中，確定要結束嗎？",
        "STR_START": "立即啟動",
        "STR_INSTALL_FAILED": "PRODUCT 安裝失敗，請重試。",
    },
    "Dutch": {
        "STR_INSTALL": "Installeren",
        "STR_BROWSE": "Bladeren",
        "STR_LISENCE": "Ik heb de {c COLOR}licentieovereenkomst van BRAND{/c} gelezen en ga "
                       "ermee akkoord",
        "STR_CUSTOMIZE_INSTALL": "Aangepaste installatie",
        "STR_INSTALL_PATH": "Installatiepad",
        "STR_SELECT_FOLDER": "Selecteer een locatie om het programma te installeren",
        "STR_STORAGE": "Onvoldoende opslagruimte. Benodigde ruimte:",
        "STR_PATH_INVALID": "Het installatiepad is ongeldig.",
        "STR_INSTALLING": "Bezig met installeren...",
        "STR_HIDE": "Verbergen",
        "STR_MESSAGEBOX_TITLE": "PRODUCT installeren",
        "STR_NETWORK_ERROR": "Netwerkfout. Controleer uw netwerkinstellingen.",
        "STR_OPERATE_TIP": "Klik op Afbreken om de installatie te annuleren, op Opnieuw om het "
                           "nogmaals te proberen of op Negeren om via de browser te downloaden.",
        "STR_SOFT_RUN": "PRODUCT is actief. Als u doorgaat met de installatie, wordt het programma "
                        "geforceerd afgesloten. Weet u zeker dat u wilt installeren?",
        "STR_CLOSE_TIP1": "Weet u zeker dat u wilt afsluiten?",
        "STR_CLOSE_TIP2": "De installatie is bezig. Weet u zeker dat u wilt afsluiten?",
        "STR_START": "Nu" + NBSP + "starten",
        "STR_INSTALL_FAILED": "PRODUCT kan niet worden geïnstalleerd. Probeer het opnieuw.",
    },
    "French": {
        "STR_INSTALL": "Installer",
        "STR_BROWSE": "Parcourir",
        "STR_LISENCE": "J'ai lu et j'accepte le {c COLOR}contrat de licence BRAND{/c}",
        "STR_CUSTOMIZE_INSTALL": "Installation personnalisée",
        "STR_INSTALL_PATH": "Chemin d'installation",
        "STR_SELECT_FOLDER": "Sélectionnez l'emplacement où installer le programme",
        "STR_STORAGE": "Espace de stockage insuffisant. Espace requis" + NBSP + ":",
        "STR_PATH_INVALID": "Le chemin d'installation n'est pas valide.",
        "STR_INSTALLING": "Installation en cours...",
        "STR_HIDE": "Masquer",
        "STR_MESSAGEBOX_TITLE": "Installation de PRODUCT",
        "STR_NETWORK_ERROR": "Erreur réseau. Veuillez vérifier vos paramètres réseau.",
        "STR_OPERATE_TIP": "Cliquez sur Abandonner pour annuler l'installation, sur Recommencer "
                           "pour réessayer ou sur Ignorer pour télécharger via le navigateur.",
        "STR_SOFT_RUN": "PRODUCT est en cours d'exécution. Si vous poursuivez l'installation, le "
                        "programme sera fermé de force. Voulez-vous vraiment l'installer" + NBSP
                        + "?",
        "STR_CLOSE_TIP1": "Voulez-vous vraiment quitter" + NBSP + "?",
        "STR_CLOSE_TIP2": "L'installation est en cours. Voulez-vous vraiment quitter" + NBSP + "?",
        "STR_START": "Lancer" + NBSP + "maintenant",
        "STR_INSTALL_FAILED": "Impossible d'installer PRODUCT. Veuillez réessayer.",
    },
    "German": {
        "STR_INSTALL": "Installieren",
        "STR_BROWSE": "Durchsuchen",
        "STR_LISENCE": "Ich habe die {c COLOR}BRAND-Lizenzvereinbarung{/c} gelesen und stimme "
                       "ihr zu",
        "STR_CUSTOMIZE_INSTALL": "Benutzerdefinierte Installation",
        "STR_INSTALL_PATH": "Installationspfad",
        "STR_SELECT_FOLDER": "Wählen Sie einen Speicherort für die Installation des Programms",
        "STR_STORAGE": "Nicht genügend Speicherplatz. Benötigter Speicherplatz:",
        "STR_PATH_INVALID": "Der Installationspfad ist ungültig.",
        "STR_INSTALLING": "Wird installiert...",
        "STR_HIDE": "Ausblenden",
        "STR_MESSAGEBOX_TITLE": "Installation von PRODUCT",
        "STR_NETWORK_ERROR": "Netzwerkfehler. Bitte überprüfen Sie Ihre Netzwerkeinstellungen.",
        "STR_OPERATE_TIP": "Klicken Sie auf „Abbrechen“, um die Installation abzubrechen, auf "
                           "„Wiederholen“, um es erneut zu versuchen, oder auf „Ignorieren“, um "
                           "die Datei über den Browser herunterzuladen.",
        "STR_SOFT_RUN": "PRODUCT wird gerade ausgeführt. Wenn Sie die Installation fortsetzen, "
                        "wird das Programm zwangsweise beendet. Möchten Sie wirklich "
                        "installieren?",
        "STR_CLOSE_TIP1": "Möchten Sie das Setup wirklich beenden?",
        "STR_CLOSE_TIP2": "Die Installation läuft noch. Möchten Sie das Setup wirklich beenden?",
        "STR_START": "Jetzt" + NBSP + "starten",
        "STR_INSTALL_FAILED": "PRODUCT konnte nicht installiert werden. "
                              "Bitte versuchen Sie es erneut.",
    },
    "Italian": {
        "STR_INSTALL": "Installa",
        "STR_BROWSE": "Sfoglia",
        "STR_LISENCE": "Ho letto e accetto il {c COLOR}Contratto di licenza di BRAND{/c}",
        "STR_CUSTOMIZE_INSTALL": "Installazione personalizzata",
        "STR_INSTALL_PATH": "Percorso di installazione",
        "STR_SELECT_FOLDER": "Seleziona il percorso in cui installare il programma",
        "STR_STORAGE": "Spazio di archiviazione insufficiente. Spazio richiesto:",
        "STR_PATH_INVALID": "Il percorso di installazione non è valido.",
        "STR_INSTALLING": "Installazione in corso...",
        "STR_HIDE": "Nascondi",
        "STR_MESSAGEBOX_TITLE": "Installazione di PRODUCT",
        "STR_NETWORK_ERROR": "Errore di rete. Controlla le impostazioni di rete.",
        "STR_OPERATE_TIP": "Fai clic su Interrompi per annullare l'installazione, su Riprova per "
                           "ritentare o su Ignora per scaricare il file tramite il browser.",
        "STR_SOFT_RUN": "PRODUCT è in esecuzione. Se prosegui con l'installazione, il programma "
                        "verrà chiuso forzatamente. Vuoi davvero procedere con l'installazione?",
        "STR_CLOSE_TIP1": "Vuoi davvero uscire?",
        "STR_CLOSE_TIP2": "L'installazione è in corso. Vuoi davvero uscire?",
        "STR_START": "Avvia" + NBSP + "ora",
        "STR_INSTALL_FAILED": "Impossibile installare PRODUCT. Riprova.",
    },
    "Japanese": {
        "STR_INSTALL": "インストール",
        "STR_BROWSE": "参照",
        "STR_LISENCE": "{c COLOR}BRAND 使用許諾契約{/c}を読み、同意しました",
        "STR_CUSTOMIZE_INSTALL": "カスタム インストール",
        "STR_INSTALL_PATH": "インストール先",
        "STR_SELECT_FOLDER": "プログラムのインストール先を選択してください",
        "STR_STORAGE": "ディスクの空き容量が不足しています。必要な容量：",
        "STR_PATH_INVALID": "インストール先のパスが無効です。",
        "STR_INSTALLING": "インストールしています...",
        "STR_HIDE": "非表示",
        "STR_MESSAGEBOX_TITLE": "PRODUCT セットアップ",
        "STR_NETWORK_ERROR": "ネットワーク エラーが発生しました。ネットワーク設定を確認してください。",
        "STR_OPERATE_TIP": "[中止] をクリックするとインストールを取り消し、[再試行] をクリックすると"
                           "もう一度試し、[無視] をクリックするとブラウザーでダウンロードします。",
        "STR_SOFT_RUN": "PRODUCT が実行中です。インストールを続行すると、プログラムは強制終了されます。"
                        "インストールしてもよろしいですか？",
        "STR_CLOSE_TIP1": "終了してもよろしいですか？",
        "STR_CLOSE_TIP2": "インストール中です。終了してもよろしいですか？",
        "STR_START": "今すぐ起動",
        "STR_INSTALL_FAILED": "PRODUCT をインストールできませんでした。もう一度お試しください。",
    },
    "Spanish": {
        "STR_INSTALL": "Instalar",
        "STR_BROWSE": "Examinar",
        "STR_LISENCE": "He leído y acepto el {c COLOR}Acuerdo de licencia de BRAND{/c}",
        "STR_CUSTOMIZE_INSTALL": "Instalación personalizada",
        "STR_INSTALL_PATH": "Ruta de instalación",
        "STR_SELECT_FOLDER": "Seleccione una ubicación para instalar el programa",
        "STR_STORAGE": "Espacio de almacenamiento insuficiente. Espacio necesario:",
        "STR_PATH_INVALID": "La ruta de instalación no es válida.",
        "STR_INSTALLING": "Instalando...",
        "STR_HIDE": "Ocultar",
        "STR_MESSAGEBOX_TITLE": "Instalación de PRODUCT",
        "STR_NETWORK_ERROR": "Error de red. Compruebe la configuración de red.",
        "STR_OPERATE_TIP": "Haga clic en Anular para cancelar la instalación, en Reintentar para "
                           "volver a intentarlo o en Omitir para descargarlo con el navegador.",
        "STR_SOFT_RUN": "PRODUCT se está ejecutando. Si continúa con la instalación, el programa "
                        "se cerrará de forma forzada. ¿Seguro que desea instalarlo?",
        "STR_CLOSE_TIP1": "¿Seguro que desea salir?",
        "STR_CLOSE_TIP2": "La instalación está en curso. ¿Seguro que desea salir?",
        "STR_START": "Iniciar" + NBSP + "ahora",
        "STR_INSTALL_FAILED": "No se ha podido instalar PRODUCT. Inténtelo de nuevo.",
    },
    "Portuguese": {
        "STR_INSTALL": "Instalar",
        "STR_BROWSE": "Procurar",
        "STR_LISENCE": "Li e aceito o {c COLOR}Contrato de Licença da BRAND{/c}",
        "STR_CUSTOMIZE_INSTALL": "Instalação personalizada",
        "STR_INSTALL_PATH": "Caminho de instalação",
        "STR_SELECT_FOLDER": "Selecione uma localização para instalar o programa",
        "STR_STORAGE": "Espaço de armazenamento insuficiente. Espaço necessário:",
        "STR_PATH_INVALID": "O caminho de instalação é inválido.",
        "STR_INSTALLING": "A instalar...",
        "STR_HIDE": "Ocultar",
        "STR_MESSAGEBOX_TITLE": "Instalação do PRODUCT",
        "STR_NETWORK_ERROR": "Erro de rede. Verifique as definições de rede.",
        "STR_OPERATE_TIP": "Clique em Abortar para cancelar a instalação, em Repetir para tentar "
                           "novamente ou em Ignorar para transferir através do navegador.",
        "STR_SOFT_RUN": "O PRODUCT está em execução. Se continuar a instalação, o programa será "
                        "fechado à força. Tem a certeza de que pretende instalar?",
        "STR_CLOSE_TIP1": "Tem a certeza de que pretende sair?",
        "STR_CLOSE_TIP2": "A instalação está em curso. Tem a certeza de que pretende sair?",
        "STR_START": "Iniciar" + NBSP + "agora",
        "STR_INSTALL_FAILED": "Não foi possível instalar o PRODUCT. Tente novamente.",
    },
    "Korean": {
        "STR_INSTALL": "설치",
        "STR_BROWSE": "찾아보기",
        "STR_LISENCE": "{c COLOR}BRAND 사용권 계약{/c}을 읽었으며 이에 동의합니다",
        "STR_CUSTOMIZE_INSTALL": "사용자 지정 설치",
        "STR_INSTALL_PATH": "설치 경로",
        "STR_SELECT_FOLDER": "프로그램을 설치할 위치를 선택하세요",
        "STR_STORAGE": "저장 공간이 부족합니다. 필요한 공간:",
        "STR_PATH_INVALID": "설치 경로가 올바르지 않습니다.",
        "STR_INSTALLING": "설치하는 중...",
        "STR_HIDE": "숨기기",
        "STR_MESSAGEBOX_TITLE": "PRODUCT 설치",
        "STR_NETWORK_ERROR": "네트워크 오류가 발생했습니다. 네트워크 설정을 확인하세요.",
        "STR_OPERATE_TIP": "설치를 취소하려면 [중단], 다시 시도하려면 [다시 시도], 브라우저로 "
                           "다운로드하려면 [무시]를 클릭하세요.",
        "STR_SOFT_RUN": "PRODUCT이(가) 실행 중입니다. 설치를 계속하면 프로그램이 강제로 "
                        "종료됩니다. 설치하시겠습니까?",
        "STR_CLOSE_TIP1": "종료하시겠습니까?",
        "STR_CLOSE_TIP2": "설치가 진행 중입니다. 종료하시겠습니까?",
        "STR_START": "지금" + NBSP + "시작",
        "STR_INSTALL_FAILED": "PRODUCT을(를) 설치하지 못했습니다. 다시 시도하세요.",
    },
    "Arabic": {
        "STR_INSTALL": "تثبيت",
        "STR_BROWSE": "استعراض",
        "STR_LISENCE": "لقد قرأت {c COLOR}اتفاقية ترخيص BRAND{/c} وأوافق عليها",
        "STR_CUSTOMIZE_INSTALL": "تثبيت مخصص",
        "STR_INSTALL_PATH": "مسار التثبيت",
        "STR_SELECT_FOLDER": "حدد موقعًا لتثبيت البرنامج",
        "STR_STORAGE": "مساحة التخزين غير كافية. المساحة المطلوبة:",
        "STR_PATH_INVALID": "مسار التثبيت غير صالح.",
        "STR_INSTALLING": "جارٍ التثبيت...",
        "STR_HIDE": "إخفاء",
        "STR_MESSAGEBOX_TITLE": "إعداد PRODUCT",
        "STR_NETWORK_ERROR": "خطأ في الشبكة. يرجى التحقق من إعدادات الشبكة.",
        "STR_OPERATE_TIP": "انقر فوق «إحباط» لإلغاء التثبيت، أو «إعادة المحاولة» للمحاولة مرة "
                           "أخرى، أو «تجاهل» للتنزيل عبر المستعرض.",
        "STR_SOFT_RUN": "PRODUCT قيد التشغيل حاليًا. ستؤدي متابعة التثبيت إلى إغلاق البرنامج "
                        "إجباريًا. هل تريد بالتأكيد متابعة التثبيت؟",
        "STR_CLOSE_TIP1": "هل تريد بالتأكيد الخروج؟",
        "STR_CLOSE_TIP2": "التثبيت قيد التقدم. هل تريد بالتأكيد الخروج؟",
        "STR_START": "ابدأ" + NBSP + "الآن",
        "STR_INSTALL_FAILED": "تعذّر تثبيت PRODUCT. يرجى المحاولة مرة أخرى.",
        "STR_MB": "ميغابايت",
    },
}

# Image texts: the tip under the install-path row, then headline and subline of the three
# banners (smart search, duplicate clean-up, slideshows). "\n" forces a line break where the
# automatic one would split a word.
ART = {
    "English": {
        "tip": "Repavio needs about 350 MB of free disk space. "
               "To install it elsewhere, open Customize Installation.",
        "banners": [
            ("Find any photo in seconds",
             "Search your whole library by people, places and dates."),
            ("Free up space, keep the best shot",
             "Repavio spots duplicates and blurry look-alikes for you."),
            ("Turn your albums into stories",
             "Create slideshows with music and share them in one click."),
        ],
    },
    "Chinese": {
        "tip": "提示：Repavio 需要约 350 MB 可用磁盘空间。如需更改安装位置，请打开“自定义安装”。",
        "banners": [
            ("几秒钟找到任意照片", "按人物、地点和日期搜索整个图库。"),
            ("释放空间，\n只留最佳照片", "Repavio 自动找出\n重复和模糊的相似照片。"),
            ("把相册变成故事", "配上音乐制作幻灯片，一键分享给亲友。"),
        ],
    },
    "ChineseTW": {
        "tip": "提示：Repavio 需要約 350 MB 的可用磁碟空間。若要變更安裝位置，請開啟「自訂安裝」。",
        "banners": [
            ("幾秒內找到任何相片", "依人物、地點和日期搜尋整個相片庫。"),
            ("釋放空間，\n只留最佳相片", "Repavio 自動找出\n重複和模糊的相似相片。"),
            ("將相簿變成故事", "搭配音樂製作投影片，一鍵分享給親友。"),
        ],
    },
    "Dutch": {
        "tip": "Repavio heeft ongeveer 350 MB vrije schijfruimte nodig. "
               "Kies een andere map via Aangepaste installatie.",
        "banners": [
            ("Vind elke foto in seconden",
             "Doorzoek je hele bibliotheek op personen, plaatsen en datums."),
            ("Ruimte vrij, beste foto bewaard",
             "Repavio vindt dubbele en onscherpe foto's voor je."),
            ("Maak van je albums verhalen",
             "Maak diavoorstellingen met muziek en deel ze met één klik."),
        ],
    },
    "French": {
        "tip": "Repavio nécessite environ 350 Mo d'espace libre. "
               "Pour changer de dossier, ouvrez Installation personnalisée.",
        "banners": [
            ("Chaque photo retrouvée en un instant",
             "Recherchez dans toute votre photothèque par personne, lieu ou date."),
            ("Libérez de l'espace, gardez le meilleur",
             "Repavio repère pour vous les doublons et les photos floues."),
            ("Vos albums deviennent des histoires",
             "Créez des diaporamas en musique et partagez-les en un clic."),
        ],
    },
    "German": {
        "tip": "Repavio benötigt ca. 350 MB freien Speicherplatz. "
               "Den Ordner ändern Sie unter „Benutzerdefinierte Installation“.",
        "banners": [
            ("Jedes Foto in Sekunden finden",
             "Durchsuchen Sie Ihre Mediathek nach Personen, Orten und Datum."),
            ("Platz schaffen, das beste Bild behalten",
             "Repavio findet Duplikate und unscharfe Doppelgänger für Sie."),
            ("Aus Alben werden Geschichten",
             "Erstellen Sie Diashows mit Musik und teilen Sie sie mit einem Klick."),
        ],
    },
    "Italian": {
        "tip": "Repavio richiede circa 350 MB di spazio libero. "
               "Puoi cambiare cartella in Installazione personalizzata.",
        "banners": [
            ("Trova qualsiasi foto in pochi secondi",
             "Cerca in tutta la libreria per persone, luoghi e date."),
            ("Libera spazio, tieni lo scatto migliore",
             "Repavio individua per te i duplicati e le foto sfocate."),
            ("Trasforma gli album in storie",
             "Crea presentazioni con musica e condividile con un clic."),
        ],
    },
    "Japanese": {
        "tip": "Repavio には約 350 MB の空き容量が必要です。インストール先は「カスタム インストール」で変更できます。",
        "banners": [
            ("どんな写真も\n数秒で見つかる", "人物・場所・日付でライブラリ全体を検索できます。"),
            ("容量を空けて、\nベストショットだけを", "重複した写真やブレた写真を Repavio が見つけます。"),
            ("アルバムを\nストーリーに", "音楽付きのスライドショーを作って、\nワンクリックで共有。"),
        ],
    },
    "Spanish": {
        "tip": "Repavio necesita unos 350 MB de espacio libre. "
               "Puede cambiar la carpeta en Instalación personalizada.",
        "banners": [
            ("Encuentre cualquier foto en segundos",
             "Busque en toda su biblioteca por personas, lugares y fechas."),
            ("Libere espacio y quédese con la mejor",
             "Repavio detecta por usted las fotos duplicadas y borrosas."),
            ("Convierta sus álbumes en historias",
             "Cree presentaciones con música y compártalas con un clic."),
        ],
    },
    "Portuguese": {
        "tip": "O Repavio necessita de cerca de 350 MB de espaço livre. "
               "Pode alterar a pasta em Instalação personalizada.",
        "banners": [
            ("Encontre qualquer fotografia em segundos",
             "Pesquise toda a sua biblioteca por pessoas, locais e datas."),
            ("Liberte espaço e guarde a melhor",
             "O Repavio deteta por si as fotografias duplicadas e desfocadas."),
            ("Transforme os seus álbuns em histórias",
             "Crie apresentações com música e partilhe-as com um clique."),
        ],
    },
    "Korean": {
        "tip": "Repavio를 설치하려면 약 350MB의 여유 공간이 필요합니다. "
               "설치 위치는 [사용자\u00a0지정\u00a0설치]에서 바꿀 수 있습니다.",
        "banners": [
            ("어떤 사진이든\n몇 초 만에", "인물, 장소, 날짜로 라이브러리 전체를 검색하세요."),
            ("공간은 넉넉하게,\n베스트 컷만", "Repavio가 중복되거나 흐린 사진을 찾아 드립니다."),
            ("앨범을 이야기로 만드세요", "음악이 담긴 슬라이드쇼를 만들고 클릭 한 번으로 공유하세요."),
        ],
    },
    "Arabic": {
        "tip": "يحتاج Repavio إلى نحو 350 ميغابايت من المساحة الحرة. "
               "يمكنك تغيير المجلد من «تثبيت مخصص».",
        "banners": [
            ("اعثر على أي صورة في ثوانٍ",
             "ابحث في مكتبتك بالكامل حسب الأشخاص والأماكن والتواريخ."),
            ("وفّر المساحة واحتفظ بأفضل لقطة",
             "يكتشف Repavio الصور المكررة والضبابية نيابةً عنك."),
            ("حوّل ألبوماتك إلى قصص",
             "أنشئ عروض شرائح مع الموسيقى وشاركها بنقرة واحدة."),
        ],
    },
}
